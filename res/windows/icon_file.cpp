// The .ico layout: a directory of entries, then per entry a BITMAPINFOHEADER of twice the height,
// the palette, the colour rows bottom-up and the mask rows bottom-up, each row padded to 4 bytes.
#include "res/windows/icon_file.h"

namespace res::windows {
namespace {

// Pixels less than half opaque are transparent; the rest keep their colour.
constexpr std::uint32_t kOpaqueFrom = 0x80;

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::size_t RowBytes(int width, int bitsPerPixel) {
    return ((static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

std::vector<std::uint8_t> Image(const ui::IconImage& image, int bits) {
    const int size = image.size;
    std::vector<std::uint8_t> out;
    Put32(out, 40);  // BITMAPINFOHEADER
    Put32(out, static_cast<std::uint32_t>(size));
    Put32(out, static_cast<std::uint32_t>(size * 2));  // colour rows and mask rows
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(bits));
    Put32(out, 0);  // no compression
    const std::size_t colourBytes = RowBytes(size, bits) * size;
    const std::size_t maskBytes = RowBytes(size, 1) * size;
    Put32(out, static_cast<std::uint32_t>(colourBytes + maskBytes));
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);  // resolution and palette counts: defaults

    const std::vector<std::uint32_t>* palette = bits <= 8 ? &Palette(bits) : nullptr;
    if (palette)
        for (const std::uint32_t rgb : *palette)
            Put32(out, rgb & 0xFFFFFF);  // stored as blue, green, red, 0

    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(RowBytes(size, bits), 0);
        for (int x = 0; x < size; ++x) {
            const std::uint32_t argb = image.argb[static_cast<std::size_t>(y) * size + x];
            const std::uint32_t rgb = (argb >> 24) >= kOpaqueFrom ? argb & 0xFFFFFF : 0;
            if (bits == 24) {
                row[x * 3] = static_cast<std::uint8_t>(rgb & 0xFF);
                row[x * 3 + 1] = static_cast<std::uint8_t>((rgb >> 8) & 0xFF);
                row[x * 3 + 2] = static_cast<std::uint8_t>(rgb >> 16);
            } else {
                const int entry = NearestEntry(*palette, rgb);
                if (bits == 8)
                    row[x] = static_cast<std::uint8_t>(entry);
                else
                    row[x / 2] |= static_cast<std::uint8_t>(x % 2 ? entry : entry << 4);
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(RowBytes(size, 1), 0);
        for (int x = 0; x < size; ++x)
            if ((image.argb[static_cast<std::size_t>(y) * size + x] >> 24) < kOpaqueFrom)
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

const std::vector<std::uint32_t>& Palette(int bitsPerPixel) {
    // 16 colours: the classic VGA set. 256 colours: a 6x6x6 cube and a ramp of 40 greys.
    static const std::vector<std::uint32_t> vga{
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    static const std::vector<std::uint32_t> cube = [] {
        std::vector<std::uint32_t> p;
        for (std::uint32_t r = 0; r < 6; ++r)
            for (std::uint32_t g = 0; g < 6; ++g)
                for (std::uint32_t b = 0; b < 6; ++b)
                    p.push_back((r * 51) << 16 | (g * 51) << 8 | b * 51);
        for (std::uint32_t i = 0; i < 40; ++i) {
            const std::uint32_t v = (i * 255 + 19) / 39;
            p.push_back(v << 16 | v << 8 | v);
        }
        return p;
    }();
    return bitsPerPixel == 4 ? vga : cube;
}

int NearestEntry(const std::vector<std::uint32_t>& palette, std::uint32_t rgb) {
    auto channel = [](std::uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); };
    int best = 0;
    long bestDistance = -1;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        // Weighted by how strongly the eye sees each channel.
        const int dr = channel(rgb, 16) - channel(palette[i], 16);
        const int dg = channel(rgb, 8) - channel(palette[i], 8);
        const int db = channel(rgb, 0) - channel(palette[i], 0);
        const long distance = 3L * dr * dr + 6L * dg * dg + 1L * db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    return best;
}

std::vector<std::uint8_t> IconFile(std::span<const ui::IconImage> images) {
    std::vector<std::vector<std::uint8_t>> entries;
    struct Entry {
        int size, bits;
    };
    std::vector<Entry> order;
    for (const int bits : kIconDepths)
        for (const ui::IconImage& image : images) {
            entries.push_back(Image(image, bits));
            order.push_back({image.size, bits});
        }

    std::vector<std::uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);  // an icon
    Put16(out, static_cast<unsigned>(entries.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        out.push_back(static_cast<std::uint8_t>(order[i].size));
        out.push_back(static_cast<std::uint8_t>(order[i].size));
        out.push_back(static_cast<std::uint8_t>(order[i].bits == 4 ? 16 : 0));  // colours
        out.push_back(0);
        Put16(out, 1);  // planes
        Put16(out, static_cast<unsigned>(order[i].bits));
        Put32(out, static_cast<std::uint32_t>(entries[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(entries[i].size());
    }
    for (const auto& entry : entries)
        out.insert(out.end(), entry.begin(), entry.end());
    return out;
}

}  // namespace res::windows
