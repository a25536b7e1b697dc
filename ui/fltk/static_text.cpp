// Static drawing: the icon resource at its large size, or the text in the dialog's font.
#include "ui/fltk/static_text.h"

#include <FL/Fl_RGB_Image.H>
#include <FL/fl_draw.H>

#include "ui/fltk/caption_text.h"
#include "ui/fltk/desktop_scale.h"
#include "ui/fltk/dialog_view.h"
#include "ui/fltk/icon_images.h"

namespace ui::fltk {

StaticText::StaticText(DialogView& view, StaticControl& control, int x, int y, int w, int h)
    : Fl_Widget(x, y, w, h), KindWidget(view, control) {
    box(FL_NO_BOX);
}

void StaticText::draw() {
    const DWORD style = control_.Style();
    if ((style & SS_TYPEMASK) == SS_ICON) {
        if (const IconResource* icon = FindIconResource(control_.Template().iconId))
            if (Fl_RGB_Image* image = IconPicture(*icon, Scaled(32)))
                DrawIcon(*image, x(), y(), Scaled(32));
        return;
    }
    const DialogFont& font = view_.Font();
    fl_font(font.face, font.size);
    fl_color(active_r() ? FL_FOREGROUND_COLOR : fl_inactive(FL_FOREGROUND_COLOR));
    const Fl_Align across = (style & SS_TYPEMASK) == SS_CENTER ? FL_ALIGN_CENTER : FL_ALIGN_LEFT;
    const std::string text = ShownCaption(control_.Text(), !(style & SS_NOPREFIX));
    fl_push_clip(x(), y(), w(), h());
    fl_draw(text.c_str(), x(), y(), w(), h(),
            across | FL_ALIGN_TOP | FL_ALIGN_WRAP | FL_ALIGN_INSIDE, nullptr, 0);
    fl_pop_clip();
}

}  // namespace ui::fltk
