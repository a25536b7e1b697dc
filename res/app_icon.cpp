// Icon 128. The 32 and 48 pixel pictures are drawn from a few shapes when first asked for: a
// wooden pyramid body, a scale plate, and a pendulum with its weight. The 16 pixel picture is
// set pixel by pixel, since shapes shrunk that far blur into a brown triangle.
#include "res/app_icon.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "res/resource_ids.h"

namespace res {
namespace {

// Coverage of the point (x, y) by the triangle a-b-c, on a 4x4 subpixel grid.
float Cover(float px, float py, auto&& inside) {
    int hits = 0;
    for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx)
            if (inside(px + (sx + 0.5f) / 4.0f, py + (sy + 0.5f) / 4.0f))
                ++hits;
    return hits / 16.0f;
}

float Edge(float ax, float ay, float bx, float by, float x, float y) {
    return (bx - ax) * (y - ay) - (by - ay) * (x - ax);
}

bool InTriangle(float ax, float ay, float bx, float by, float cx, float cy, float x, float y) {
    const float d1 = Edge(ax, ay, bx, by, x, y);
    const float d2 = Edge(bx, by, cx, cy, x, y);
    const float d3 = Edge(cx, cy, ax, ay, x, y);
    const bool neg = d1 < 0 || d2 < 0 || d3 < 0;
    const bool pos = d1 > 0 || d2 > 0 || d3 > 0;
    return !(neg && pos);
}

std::uint32_t Blend(std::uint32_t under, std::uint32_t colour, float alpha) {
    if (alpha <= 0)
        return under;
    const float ua = ((under >> 24) & 0xFF) / 255.0f;
    const float outA = alpha + ua * (1 - alpha);
    auto channel = [&](int shift) {
        const float u = (under >> shift) & 0xFF;
        const float c = (colour >> shift) & 0xFF;
        const float v = outA > 0 ? (c * alpha + u * ua * (1 - alpha)) / outA : 0;
        return static_cast<std::uint32_t>(std::lround(v)) & 0xFF;
    };
    return (static_cast<std::uint32_t>(std::lround(outA * 255)) << 24) | channel(16) << 16 |
           channel(8) << 8 | channel(0);
}

std::vector<std::uint32_t> Draw(int size) {
    std::vector<std::uint32_t> px(static_cast<std::size_t>(size * size), 0);
    const float s = static_cast<float>(size) / 48.0f;  // shapes are laid out on a 48-unit grid
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            std::uint32_t& p = px[static_cast<std::size_t>(y * size + x)];
            const float fx = static_cast<float>(x), fy = static_cast<float>(y);
            // Body: a dark wooden pyramid with a lighter face.
            p = Blend(p, 0xFF5A3418, Cover(fx, fy, [&](float u, float v) {
                          return InTriangle(24 * s, 3 * s, 42 * s, 45 * s, 6 * s, 45 * s, u, v);
                      }));
            p = Blend(p, 0xFFB9773A, Cover(fx, fy, [&](float u, float v) {
                          return InTriangle(24 * s, 8 * s, 37 * s, 42 * s, 11 * s, 42 * s, u, v);
                      }));
            // Scale plate.
            p = Blend(p, 0xFFF3E3C2, Cover(fx, fy, [&](float u, float v) {
                          return InTriangle(24 * s, 12 * s, 31 * s, 32 * s, 17 * s, 32 * s, u, v);
                      }));
            // Pendulum rod, tilted to the right, from the pivot near the base.
            p = Blend(p, 0xFF202020, Cover(fx, fy, [&](float u, float v) {
                          const float ax = 23 * s, ay = 38 * s, bx = 32 * s, by = 8 * s;
                          const float len = std::hypot(bx - ax, by - ay);
                          const float t =
                              ((u - ax) * (bx - ax) + (v - ay) * (by - ay)) / (len * len);
                          if (t < 0 || t > 1)
                              return false;
                          const float d = std::fabs(Edge(ax, ay, bx, by, u, v)) / len;
                          return d <= std::max(0.6f, 1.2f * s);
                      }));
            // Weight on the rod.
            p = Blend(p, 0xFFC0C4C8, Cover(fx, fy, [&](float u, float v) {
                          const float cx = 29.3f * s, cy = 17 * s, r = std::max(1.2f, 3.2f * s);
                          return std::hypot(u - cx, v - cy) <= r;
                      }));
            // Base.
            p = Blend(p, 0xFF3B2210, Cover(fx, fy, [&](float u, float v) {
                          return v >= 42 * s && v <= 46 * s && u >= 4 * s && u <= 44 * s;
                      }));
        }
    }
    return px;
}

// A taskbar's size: a dark outline, the pendulum standing out above the apex, its weight a
// block that a few pixels still show.
std::vector<std::uint32_t> DrawSmall() {
    static constexpr std::array<const char*, 16> kRows = {
        "................",  //
        ".......DD.R.....",  //
        "......DWWDR.....",  //
        "......DWWR......",  //
        ".....DWPPRD.....",  //
        ".....DWPMMM.....",  //
        "....DWPMMMWD....",  //
        "....DWPPRPWD....",  //
        "...DWPPPRPPWD...",  //
        "...DWPPRPPPWD...",  //
        "..DWPPPRPPPPWD..",  //
        "..DWWWWRWWWWWD..",  //
        ".DWWWWWWWWWWWWD.",  //
        ".DDDDDDDDDDDDDD.",  //
        ".DDDDDDDDDDDDDD.",  //
        "................",
    };
    std::vector<std::uint32_t> px;
    for (const char* row : kRows) {
        for (const char* c = row; *c; ++c) {
            switch (*c) {
                case 'D':
                    px.push_back(0xFF3B2210);  // outline and base
                    break;
                case 'W':
                    px.push_back(0xFFB9773A);  // wood
                    break;
                case 'P':
                    px.push_back(0xFFF3E3C2);  // scale plate
                    break;
                case 'R':
                    px.push_back(0xFF101010);  // pendulum rod
                    break;
                case 'M':
                    px.push_back(0xFF6F8394);  // weight
                    break;
                default:
                    px.push_back(0);
                    break;
            }
        }
    }
    return px;
}

struct Pictures {
    std::array<std::vector<std::uint32_t>, 3> pixels{DrawSmall(), Draw(32), Draw(48)};
    std::array<ui::IconImage, 3> images{{{16, pixels[0]}, {32, pixels[1]}, {48, pixels[2]}}};
    IconResource icon;
    Pictures() {
        icon.id = IDR_MAINFRAME;
        icon.images = images;
    }
};

}  // namespace

const IconResource& AppIcon() {
    static const Pictures pictures;
    return pictures.icon;
}

}  // namespace res
