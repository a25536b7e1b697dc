// What every control has, and the one place that picks a control's kind from its template.
#include <stdexcept>
#include <string>

#include "ui/button_control.h"
#include "ui/edit_control.h"
#include "ui/list_control.h"
#include "ui/slider_control.h"
#include "ui/static_control.h"
#include "ui/window.h"

namespace ui {

std::unique_ptr<Control> Control::Create(DialogWindow& parent, int index,
                                         const ControlTemplate& t) {
    switch (t.cls) {
        case ControlClass::Button:
            return std::make_unique<ButtonControl>(parent, index, t);
        case ControlClass::Edit:
            return std::make_unique<EditControl>(parent, index, t);
        case ControlClass::ComboBox:
            return std::make_unique<ListControl>(parent, index, t);
        case ControlClass::Trackbar:
            return std::make_unique<SliderControl>(parent, index, t);
        case ControlClass::Static:
            break;
    }
    return std::make_unique<StaticControl>(parent, index, t);
}

Control::Control(DialogWindow& parent, int index, const ControlTemplate& t)
    : parent_(parent), index_(index), template_(t) {
    id_ = t.id;
    style_ = t.style | WS_CHILD | WS_VISIBLE;
    text_ = CString(t.caption ? t.caption : u"");
}

void Control::WrongKind() const {
    throw std::logic_error("control " + std::to_string(id_) + " is of another kind");
}

LRESULT Control::Send(UINT message, WPARAM /*wParam*/, LPARAM lParam) {
    switch (message) {
        case WM_SETTEXT:
            text_ = CString(reinterpret_cast<const char16_t*>(lParam));
            Changed();
            return TRUE;
        case WM_GETTEXTLENGTH:
            return text_.GetLength();
        default:
            return 0;
    }
}

void Control::UserClick() {
    if (IsUsable() && !parent_.ModalEnded())
        parent_.SetFocus(this);
}

void Control::Changed() {
    Invalidate();
    if (WindowView* view = parent_.View())
        view->Update(index_);
    parent_.AccessibleChanged(index_);
}

void Control::Notify(UINT code) {
    parent_.NotifyFromControl(*this, code);
}

}  // namespace ui
