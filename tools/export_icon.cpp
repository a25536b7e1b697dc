// Writes icon 128 as PNG files (one per size) for desktop menus: export_icon <folder> writes
// <folder>/<size>x<size>/apps/vorla-metronome.png.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "res/app_icon.h"

namespace {

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBig32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void Chunk(std::vector<std::uint8_t>& png, const char* type,
           const std::vector<std::uint8_t>& body) {
    PutBig32(png, static_cast<std::uint32_t>(body.size()));
    std::vector<std::uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    png.insert(png.end(), typed.begin(), typed.end());
    PutBig32(png, Crc32(typed.data(), typed.size()));
}

// A zlib stream of stored (uncompressed) blocks: icons are small, so size does not matter here.
std::vector<std::uint8_t> ZlibStored(const std::vector<std::uint8_t>& raw) {
    std::vector<std::uint8_t> out = {0x78, 0x01};
    std::size_t pos = 0;
    do {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
        const bool last = pos + n == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<std::uint8_t>(n & 0xFF));
        out.push_back(static_cast<std::uint8_t>(n >> 8));
        out.push_back(static_cast<std::uint8_t>(~n & 0xFF));
        out.push_back(static_cast<std::uint8_t>((~n >> 8) & 0xFF));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
                   raw.begin() + static_cast<std::ptrdiff_t>(pos + n));
        pos += n;
    } while (pos < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBig32(out, (b << 16) | a);
    return out;
}

std::vector<std::uint8_t> Png(const ui::IconImage& image) {
    const auto size = static_cast<std::uint32_t>(image.size);
    std::vector<std::uint8_t> raw;
    for (std::uint32_t y = 0; y < size; ++y) {
        raw.push_back(0);  // no filter
        for (std::uint32_t x = 0; x < size; ++x) {
            const std::uint32_t argb = image.argb[y * size + x];
            raw.push_back(static_cast<std::uint8_t>(argb >> 16));
            raw.push_back(static_cast<std::uint8_t>(argb >> 8));
            raw.push_back(static_cast<std::uint8_t>(argb));
            raw.push_back(static_cast<std::uint8_t>(argb >> 24));
        }
    }
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutBig32(header, size);
    PutBig32(header, size);
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", ZlibStored(raw));
    Chunk(png, "IEND", {});
    return png;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: export_icon <folder>\n");
        return 2;
    }
    for (const ui::IconImage& image : res::AppIcon().images) {
        const std::string size = std::to_string(image.size);
        const auto folder = std::filesystem::path(argv[1]) / (size + "x" + size) / "apps";
        std::filesystem::create_directories(folder);
        const auto png = Png(image);
        std::ofstream(folder / "vorla-metronome.png", std::ios::binary)
            .write(reinterpret_cast<const char*>(png.data()),
                   static_cast<std::streamsize>(png.size()));
    }
    return 0;
}
