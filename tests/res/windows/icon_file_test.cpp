// The icon file: a directory that covers the file exactly, and per size and depth a bitmap whose
// colours and mask say what the ARGB picture says.
#include <gtest/gtest.h>

#include <set>

#include "res/app_icon.h"
#include "res/windows/icon_file.h"
#include "tests/support/byte_reader.h"

namespace {

using res::windows::IconFile;

// A 16 px picture: transparent left half, the right half in red, green, blue and white rows.
std::vector<std::uint32_t> Stripes() {
    std::vector<std::uint32_t> argb(16 * 16, 0x00FFFFFF);
    const std::uint32_t colours[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    for (int y = 0; y < 16; ++y)
        for (int x = 8; x < 16; ++x)
            argb[y * 16 + x] = colours[y / 4];
    return argb;
}

struct Entry {
    int size, colours, bits;
    std::uint32_t bytes, offset;
};

std::vector<Entry> Directory(const std::vector<std::uint8_t>& file) {
    ByteReader r(file);
    EXPECT_EQ(r.Word(), 0);
    EXPECT_EQ(r.Word(), 1);
    const int count = r.Word();
    std::vector<Entry> entries;
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(testing::Message() << "entry " << i);
        Entry e{};
        e.size = r.Byte();
        EXPECT_EQ(r.Byte(), e.size);
        e.colours = r.Byte();
        r.Byte();
        EXPECT_EQ(r.Word(), 1);
        e.bits = r.Word();
        e.bytes = r.Dword();
        e.offset = r.Dword();
        entries.push_back(e);
    }
    return entries;
}

TEST(IconFile, TheProgramIconHasEverySizeAtEveryDepthBackToBack) {
    const auto file = IconFile(res::AppIcon().images);
    const auto entries = Directory(file);
    ASSERT_EQ(entries.size(), 9u);
    std::set<std::pair<int, int>> kinds;
    std::uint32_t next = 6 + 16 * 9;
    for (const Entry& e : entries) {
        SCOPED_TRACE(testing::Message() << e.size << " px at " << e.bits << " bits");
        kinds.insert({e.size, e.bits});
        EXPECT_EQ(e.colours, e.bits == 4 ? 16 : 0);
        EXPECT_EQ(e.offset, next);
        next += e.bytes;
        ByteReader r(file, e.offset);
        EXPECT_EQ(r.Dword(), 40u);
        EXPECT_EQ(r.Dword(), static_cast<std::uint32_t>(e.size));
        EXPECT_EQ(r.Dword(), static_cast<std::uint32_t>(2 * e.size));
        EXPECT_EQ(r.Word(), 1);
        EXPECT_EQ(r.Word(), e.bits);
        const std::size_t row = ((e.size * e.bits + 31) / 32) * 4;
        const std::size_t mask = ((e.size + 31) / 32) * 4;
        const std::size_t palette = e.bits <= 8 ? (4u << e.bits) : 0;
        EXPECT_EQ(e.bytes, 40 + palette + (row + mask) * e.size);
    }
    EXPECT_EQ(next, file.size());
    for (const int size : {16, 32, 48})
        for (const int bits : {4, 8, 24}) {
            SCOPED_TRACE(testing::Message() << size << " px at " << bits << " bits");
            EXPECT_TRUE(kinds.count({size, bits})) << size << " px at " << bits << " bits";
        }
}

TEST(IconFile, ColoursAndMaskFollowThePictureBottomUp) {
    const auto argb = Stripes();
    const ui::IconImage image{16, argb};
    const auto file = IconFile(std::span(&image, 1));
    const auto entries = Directory(file);
    ASSERT_EQ(entries.size(), 3u);
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.bits);
        const std::size_t palette = e.bits <= 8 ? (4u << e.bits) : 0;
        const std::size_t pixels = e.offset + 40 + palette;
        const std::size_t row = ((16 * e.bits + 31) / 32) * 4;
        const std::size_t maskStart = pixels + row * 16;
        auto colourAt = [&](int x, int y) -> std::uint32_t {
            const std::size_t at = pixels + row * (15 - y);
            if (e.bits == 24)
                return file[at + x * 3] | file[at + x * 3 + 1] << 8 | file[at + x * 3 + 2] << 16;
            const int entry = e.bits == 8
                                  ? file[at + x]
                                  : (x % 2 ? file[at + x / 2] & 0xF : file[at + x / 2] >> 4);
            ByteReader r(file, e.offset + 40 + 4 * entry);
            return r.Dword();
        };
        auto transparent = [&](int x, int y) {
            return (file[maskStart + 4 * (15 - y) + x / 8] >> (7 - x % 8)) & 1;
        };
        for (int y = 0; y < 16; ++y) {
            SCOPED_TRACE(testing::Message() << "row " << y);
            EXPECT_TRUE(transparent(0, y));
            EXPECT_EQ(colourAt(0, y), 0u) << "transparent pixels are black under the mask";
            EXPECT_FALSE(transparent(15, y));
        }
        // Pure colours are in every palette, so they survive every depth unchanged.
        EXPECT_EQ(colourAt(8, 0), 0xFF0000u);
        EXPECT_EQ(colourAt(9, 5), 0x00FF00u);
        EXPECT_EQ(colourAt(15, 10), 0x0000FFu);
        EXPECT_EQ(colourAt(12, 15), 0xFFFFFFu);
    }
}

TEST(IconFile, PalettesAreFullAndMatchNearColours) {
    using res::windows::NearestEntry;
    using res::windows::Palette;
    EXPECT_EQ(Palette(4).size(), 16u);
    EXPECT_EQ(Palette(8).size(), 256u);
    EXPECT_EQ(Palette(4)[NearestEntry(Palette(4), 0xC8BEC3)], 0xC0C0C0u);
    EXPECT_EQ(Palette(8)[NearestEntry(Palette(8), 0x99CC34)], 0x99CC33u);
    EXPECT_EQ(Palette(8)[NearestEntry(Palette(8), 0x0B0B0B)], 0x0D0D0Du);  // from the grey ramp
}

}  // namespace
