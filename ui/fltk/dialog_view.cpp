// The dialog window: creation of the widgets from the template, placement, and input routing.
#include "ui/fltk/dialog_view.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>

#include "ui/fltk/button_widget.h"
#include "ui/fltk/combo_box.h"
#include "ui/fltk/dialog_units.h"
#include "ui/fltk/edit_box.h"
#include "ui/fltk/group_box.h"
#include "ui/fltk/icon_images.h"
#include "ui/fltk/key_map.h"
#include "ui/fltk/slider_widget.h"
#include "ui/fltk/static_text.h"
#include "ui/fltk/system_menu.h"

namespace ui::fltk {

// The toplevel window: all keys are the dialog's, and the window manager's map, unmap and close
// requests go to the view.
class DialogFrame : public Fl_Double_Window {
  public:
    DialogFrame(DialogView& view, int w, int h) : Fl_Double_Window(w, h), view_(view) {}

    int handle(int event) override {
        switch (event) {
            case FL_KEYBOARD:
            case FL_SHORTCUT:
                view_.Key(Fl::event_key(), Fl::event_state());
                return 1;
            case FL_KEYUP:
            case FL_FOCUS:
            case FL_UNFOCUS:
                return 1;
            case FL_PUSH:
                if (Fl::event_button() == FL_RIGHT_MOUSE &&
                    !ControlAt(Fl::event_x(), Fl::event_y())) {
                    view_.RightClick(Fl::event_x(), Fl::event_y());
                    return 1;
                }
                break;
            case FL_SHOW:
                view_.MappedChanged(true);
                break;
            case FL_HIDE:
                view_.MappedChanged(false);
                break;
            default:
                break;
        }
        return Fl_Double_Window::handle(event);
    }

  private:
    // A visible control under the pointer that takes clicks (statics and group boxes do not).
    bool ControlAt(int x, int y) const {
        for (int i = 0; i < children(); ++i) {
            const Fl_Widget* c = child(i);
            if (!c->visible() || x < c->x() || y < c->y() || x >= c->x() + c->w() ||
                y >= c->y() + c->h())
                continue;
            const auto* widget = dynamic_cast<const ControlWidget*>(c);
            const Control* model = widget ? &widget->Model() : nullptr;
            const auto* button = model ? model->TryAs<ButtonControl>() : nullptr;
            if (model && model->Class() != ControlClass::Static &&
                !(button && button->IsGroupBox()))
                return true;
        }
        return false;
    }

    DialogView& view_;
};

DialogView::DialogView(DialogWindow& model) : model_(model), font_(FontFor(model.Template())) {
    const PixelRect client = ClientSize(model.Template(), font_.units);
    frame_ = new DialogFrame(*this, client.w, client.h);
    frame_->xclass("metronome");
    CreateWidgets();
    frame_->end();
    frame_->size_range(client.w, client.h, client.w, client.h);  // no resizing, no maximising
    frame_->callback([](Fl_Widget*, void* view) { static_cast<DialogView*>(view)->CloseBox(); },
                     this);
    if (model.Owner())
        frame_->set_modal();
    UpdateWindow();
}

DialogView::~DialogView() {
    hiding_ = true;
    frame_->hide();
    delete frame_;
}

Fl_Double_Window& DialogView::Frame() const {
    return *frame_;
}

void DialogView::CreateWidgets() {
    for (const auto& owned : model_.Controls()) {
        Control& c = *owned;
        const PixelRect r = ControlRect(c.Template(), font_.units);
        ControlWidget* widget = nullptr;
        switch (c.Class()) {
            case ControlClass::Button:
                if (c.As<ButtonControl>().IsGroupBox())
                    widget = new GroupBox(*this, c.As<ButtonControl>(), r.x, r.y, r.w, r.h);
                else
                    widget = new ButtonWidget(*this, c.As<ButtonControl>(), r.x, r.y, r.w, r.h);
                break;
            case ControlClass::Edit:
                widget = new EditBox(*this, c.As<EditControl>(), r.x, r.y, r.w, r.h);
                break;
            case ControlClass::Static:
                widget = new StaticText(*this, c.As<StaticControl>(), r.x, r.y, r.w, r.h);
                break;
            case ControlClass::ComboBox: {
                // The template gives the height with the list open; the box itself is one row.
                const int closed = font_.units.y + 8;
                widget = new ComboBox(*this, c.As<ListControl>(), r.x, r.y, r.w, closed, r.h);
                break;
            }
            case ControlClass::Trackbar:
                widget = new SliderWidget(*this, c.As<SliderControl>(), r.x, r.y, r.w, r.h);
                break;
        }
        widgets_.push_back(widget);
        Update(c.Index());
    }
}

void DialogView::Place() {
    const int w = frame_->w();
    const int h = frame_->h();
    DialogView* owner =
        model_.Owner() ? dynamic_cast<DialogView*>(model_.Owner()->View()) : nullptr;
    if (owner && owner->frame_->shown()) {
        frame_->position(owner->frame_->x() + (owner->frame_->w() - w) / 2,
                         owner->frame_->y() + (owner->frame_->h() - h) / 2);
    } else {
        int sx = 0, sy = 0, sw = 0, sh = 0;
        Fl::screen_work_area(sx, sy, sw, sh);
        frame_->position(sx + (sw - w) / 2, sy + (sh - h) / 2);
    }
    placed_ = true;
}

void DialogView::Show(bool visible) {
    if (visible) {
        if (!placed_)
            Place();
        frame_->show();
        Fl::focus(frame_);
    } else {
        hiding_ = true;
        frame_->hide();
        hiding_ = false;
    }
}

void DialogView::UpdateWindow() {
    const std::string title = model_.Text().ToUtf8();
    if (!frame_->label() || title != frame_->label())
        frame_->copy_label(title.c_str());
    const auto* icon = static_cast<const IconResource*>(model_.Icon(true));
    if (!icon)
        icon = static_cast<const IconResource*>(model_.Icon(false));
    if (icon && icon != shownIcon_) {
        shownIcon_ = icon;
        auto pictures = IconPictures(*icon);
        frame_->icons(pictures.data(), static_cast<int>(pictures.size()));
    }
    if (model_.IsIconic() && frame_->shown() && !iconified_) {
        iconified_ = true;
        frame_->iconize();
    } else if (!model_.IsIconic() && iconified_ && model_.IsVisible()) {
        iconified_ = false;
        frame_->show();
    }
}

void DialogView::Update(int index) {
    if (index < 0) {
        UpdateWindow();
        return;
    }
    if (index >= static_cast<int>(widgets_.size()))
        return;  // still being built
    const Control& c = *model_.Controls()[static_cast<std::size_t>(index)];
    ControlWidget* widget = widgets_[static_cast<std::size_t>(index)];
    Fl_Widget& w = widget->Widget();
    if (c.IsVisible())
        w.show();
    else
        w.hide();
    if (c.IsEnabled())
        w.activate();
    else
        w.deactivate();
    widget->Sync();
    frame_->redraw();  // focus marks and the default frame move between controls
}

RECT DialogView::ClientRect() const {
    return RECT{0, 0, frame_->w(), frame_->h()};
}

Fl_Widget& DialogView::WidgetOf(const Control& control) const {
    return widgets_.at(static_cast<std::size_t>(control.Index()))->Widget();
}

bool DialogView::ShowsDefaultFrame(const Control& control) const {
    const auto* focus = model_.FocusedControl();
    const auto* focusButton = focus ? focus->TryAs<ButtonControl>() : nullptr;
    if (focusButton && focusButton->IsPushButton() && focus->IsUsable())
        return focus == &control;
    const auto* button = control.TryAs<ButtonControl>();
    return button && button->IsDefaultPushButton();
}

void DialogView::AfterInput() {
    DispatchPostedMessages();
    model_.PaintPending();
    DispatchPostedMessages();
}

void DialogView::Key(int key, int state) {
    if (!InputAllowed())
        return;
    const KeyStroke stroke = ToKeyStroke(key, state);
    if (stroke.vk == VK_SPACE && stroke.modifiers == kAlt) {
        OpenSystemMenu(0, 0);
        return;
    }
    Control* focus = model_.FocusedControl();
    if (focus && focus->IsUsable()) {
        ControlWidget* widget = widgets_[static_cast<std::size_t>(focus->Index())];
        if (widget->EditKey(key, state)) {
            AfterInput();
            return;
        }
        const bool opensList = (key == FL_F + 4 && stroke.modifiers == kNoModifier) ||
                               ((key == FL_Down || key == FL_Up) && stroke.modifiers == kAlt);
        if (focus->Class() == ControlClass::ComboBox && opensList) {
            widget->OpenDropList();
            return;
        }
    }
    if (stroke.vk != 0)
        model_.KeyDown(stroke.vk, stroke.modifiers);
    AfterInput();
}

void DialogView::CloseBox() {
    if (!InputAllowed())
        return;
    model_.UserClose();
    AfterInput();
}

void DialogView::RightClick(int x, int y) {
    if (InputAllowed())
        OpenSystemMenu(x, y);
}

void DialogView::OpenSystemMenu(int x, int y) {
    if (!model_.HasSystemMenu())
        return;
    const UINT id = ChooseFromSystemMenu(model_.SystemMenu(), x, y, font_);
    if (id != 0 && InputAllowed()) {
        model_.UserSystemCommand(id);
        AfterInput();
    }
}

void DialogView::MappedChanged(bool mapped) {
    // The window manager minimised or restored the window; our own hide() is not a minimise.
    if (hiding_ || !InputAllowed())
        return;
    if (!mapped && frame_->shown() && !model_.IsIconic()) {
        iconified_ = true;
        model_.UserSystemCommand(SC_MINIMIZE);
        AfterInput();
    } else if (mapped && model_.IsIconic()) {
        iconified_ = false;
        model_.UserSystemCommand(SC_RESTORE);
        AfterInput();
    }
}

}  // namespace ui::fltk
