// ARGB icon pictures to RGBA bytes; the images point at buffers that live as long as the process.
#include "ui/fltk/icon_images.h"

#include <FL/Fl_RGB_Image.H>

#include <deque>
#include <map>
#include <memory>

namespace ui::fltk {
namespace {

struct Converted {
    std::vector<unsigned char> rgba;
    std::unique_ptr<Fl_RGB_Image> image;
};

Fl_RGB_Image* Convert(const ui::IconImage& picture) {
    static std::map<const std::uint32_t*, Converted> cache;
    Converted& c = cache[picture.argb.data()];
    if (!c.image) {
        c.rgba.reserve(picture.argb.size() * 4);
        for (std::uint32_t p : picture.argb) {
            c.rgba.push_back(static_cast<unsigned char>(p >> 16));
            c.rgba.push_back(static_cast<unsigned char>(p >> 8));
            c.rgba.push_back(static_cast<unsigned char>(p));
            c.rgba.push_back(static_cast<unsigned char>(p >> 24));
        }
        c.image = std::make_unique<Fl_RGB_Image>(c.rgba.data(), picture.size, picture.size, 4);
    }
    return c.image.get();
}

}  // namespace

Fl_RGB_Image* IconPicture(const IconResource& icon, int size) {
    const ui::IconImage* best = nullptr;
    for (const ui::IconImage& picture : icon.images)
        if (picture.size >= size && (!best || picture.size < best->size))
            best = &picture;
    if (!best)
        for (const ui::IconImage& picture : icon.images)
            if (!best || picture.size > best->size)
                best = &picture;
    return best ? Convert(*best) : nullptr;
}

void DrawIcon(Fl_RGB_Image& picture, int x, int y, int size) {
    if (picture.w() == size && picture.h() == size) {
        picture.draw(x, y);
        return;
    }
    static std::map<std::pair<const Fl_RGB_Image*, int>, std::unique_ptr<Fl_Image>> resized;
    auto& copy = resized[{&picture, size}];
    if (!copy) {
        Fl_RGB_Image::RGB_scaling(FL_RGB_SCALING_BILINEAR);
        copy.reset(picture.copy(size, size));
    }
    copy->draw(x, y);
}

std::vector<const Fl_RGB_Image*> IconPictures(const IconResource& icon) {
    std::vector<const Fl_RGB_Image*> images;
    for (const ui::IconImage& picture : icon.images)
        images.push_back(Convert(picture));
    return images;
}

}  // namespace ui::fltk
