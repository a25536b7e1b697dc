// The dialog window: its controls, the focus and keyboard navigation, the system menu, painting
// and the modal state, once for every backend.
#include <algorithm>

#include "ui/accessible_events.h"
#include "ui/button_control.h"
#include "ui/window.h"

namespace ui {
namespace {

UINT MediaKeyCommand(UINT vk) {
    switch (vk) {
        case VK_MEDIA_PLAY_PAUSE:
            return APPCOMMAND_MEDIA_PLAY_PAUSE;
        case VK_MEDIA_STOP:
            return APPCOMMAND_MEDIA_STOP;
        case VK_MEDIA_NEXT_TRACK:
            return APPCOMMAND_MEDIA_NEXTTRACK;
        case VK_MEDIA_PREV_TRACK:
            return APPCOMMAND_MEDIA_PREVIOUSTRACK;
        default:
            return 0;
    }
}

}  // namespace

DialogWindow::DialogWindow(const DialogTemplate& t, MessageTarget& object, DialogWindow* owner)
    : template_(t), object_(object), owner_(owner) {
    style_ = t.style;
    text_ = CString(t.caption ? t.caption : u"");
    visible_ = false;
    for (std::size_t i = 0; i < t.controls.size(); ++i)
        controls_.push_back(Control::Create(*this, static_cast<int>(i), t.controls[i]));
    for (const InitialData& data : t.initialData) {
        if (Control* c = FindControl(data.controlId))
            for (const char16_t* row : data.rows)
                c->Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
    }
    if (HasSystemMenu()) {
        systemMenu_.push_back({MF_STRING, SC_MINIMIZE, CString(u"Mi&nimize")});
        systemMenu_.push_back({MF_SEPARATOR, 0, CString()});
        systemMenu_.push_back({MF_STRING, SC_CLOSE, CString(u"&Close\tAlt+F4")});
    }
}

DialogWindow::~DialogWindow() {
    ForgetPostedMessages(this);
}

LRESULT DialogWindow::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    return object_.SendMessage(message, wParam, lParam);
}

void DialogWindow::Changed() {
    if (view_)
        view_->Update(-1);
    AccessibleChanged(-1);
}

Control* DialogWindow::FindControl(int id) const {
    for (const auto& c : controls_)
        if (c->Id() == id && id != -1)
            return c.get();
    return nullptr;
}

Control* DialogWindow::FocusedControl() const {
    return focus_;
}

void DialogWindow::SetFocus(Control* control) {
    if (focus_ == control)
        return;
    Control* old = focus_;
    focus_ = control;
    if (view_) {
        if (old)
            view_->Update(old->Index());
        if (control)
            view_->Update(control->Index());
    }
    if (old)
        AccessibleChanged(old->Index());
    if (control)
        AccessibleChanged(control->Index());
}

std::vector<ButtonControl*> DialogWindow::RadioGroup(const Control& control) const {
    auto at = static_cast<std::size_t>(control.Index());
    while (at > 0 && !controls_[at]->StartsGroup())
        --at;
    const std::size_t start = at;
    std::vector<ButtonControl*> group;
    for (; at < controls_.size(); ++at) {
        if (at > start && controls_[at]->StartsGroup())
            break;
        if (auto* button = controls_[at]->TryAs<ButtonControl>(); button && button->IsRadio())
            group.push_back(button);
    }
    return group;
}

std::vector<Control*> DialogWindow::TabStops() const {
    std::vector<Control*> stops;
    for (const auto& c : controls_) {
        if (!c->IsTabStop() || !c->IsUsable())
            continue;
        if (const auto* button = c->TryAs<ButtonControl>(); button && button->IsRadio()) {
            // A radio group is one stop: its selected button, or its first when none is.
            const auto group = RadioGroup(*c);
            ButtonControl* stop = nullptr;
            for (ButtonControl* r : group)
                if (r->Check() == BST_CHECKED && r->IsUsable())
                    stop = r;
            if (!stop)
                for (ButtonControl* r : group)
                    if (r->IsUsable()) {
                        stop = r;
                        break;
                    }
            if (stop != c.get())
                continue;
        }
        stops.push_back(c.get());
    }
    return stops;
}

void DialogWindow::SetIconic(bool iconic) {
    if (iconic_ == iconic)
        return;
    iconic_ = iconic;
    needsPaint_ = true;
    Changed();
}

HICON DialogWindow::SetIcon(HICON icon, bool big) {
    HICON& slot = big ? bigIcon_ : smallIcon_;
    HICON old = slot;
    slot = icon;
    Changed();
    return old;
}

void DialogWindow::SetLastPaint(HICON icon, int x, int y) {
    paintedIcon_ = icon;
    paintedX_ = x;
    paintedY_ = y;
}

bool DialogWindow::KeyDown(UINT vk, unsigned modifiers) {
    if (modalEnded_ || !enabled_)
        return false;
    if (vk == VK_F4 && modifiers == kAlt) {
        UserSystemCommand(SC_CLOSE);
        return true;
    }
    // Media keys go to the window as commands, whichever control has the focus, as on Windows.
    if (const UINT command = MediaKeyCommand(vk)) {
        Send(WM_APPCOMMAND, 0, static_cast<LPARAM>(command) << 16);
        return true;
    }
    if (vk == VK_F1) {
        if (modifiers != kNoModifier)
            return false;
        Send(WM_HELP, 0, 0);
        return true;
    }
    if (vk == VK_TAB && (modifiers & ~kShift) == 0) {
        const auto stops = TabStops();
        if (stops.empty())
            return true;
        auto at = std::find(stops.begin(), stops.end(), focus_);
        std::size_t index = at == stops.end() ? 0 : static_cast<std::size_t>(at - stops.begin());
        if (at != stops.end())
            index = (modifiers & kShift) ? (index + stops.size() - 1) % stops.size()
                                         : (index + 1) % stops.size();
        SetFocus(stops[index]);
        focus_->TabbedInto();
        return true;
    }
    // A control's own keys with Ctrl or Alt (an edit's clipboard, words and undo).
    if (focus_ && (modifiers & (kControl | kAlt)) && focus_->UserKey(vk, modifiers))
        return true;
    if (modifiers & (kControl | kAlt))
        return false;
    if (vk == VK_ESCAPE) {
        Control* cancel = FindControl(IDCANCEL);
        Send(WM_COMMAND, MakeWParam(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
        return true;
    }
    if (vk == VK_RETURN) {
        if (focus_ && focus_->UserEnter())
            return true;
        for (const auto& c : controls_) {
            if (auto* button = c->TryAs<ButtonControl>(); button && button->IsDefaultPushButton()) {
                button->Press();
                return true;
            }
        }
        Control* ok = FindControl(IDOK);
        Send(WM_COMMAND, MakeWParam(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
        return true;
    }
    return focus_ ? focus_->UserKey(vk, modifiers) : false;
}

void DialogWindow::UserClose() {
    if (!modalEnded_ && enabled_)
        Send(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void DialogWindow::UserSystemCommand(UINT id) {
    if (!modalEnded_ && enabled_)
        Send(WM_SYSCOMMAND, id, 0);
}

void DialogWindow::PaintPending() {
    if (modalEnded_ || !visible_)
        return;
    if (needsPaint_) {
        needsPaint_ = false;
        Send(WM_PAINT, 0, 0);
    }
    for (const auto& c : controls_) {
        if (modalEnded_)
            return;
        if (c->NeedsPaint() && c->IsVisible())
            c->Paint();
    }
}

void DialogWindow::EndModal(int result) {
    modalEnded_ = true;
    modalResult_ = result;
}

void DialogWindow::NotifyFromControl(Control& control, UINT code) {
    if (code == NM_CUSTOMDRAW)
        return;  // sent by SliderControl::Paint with its drawing record
    Send(WM_COMMAND, MakeWParam(static_cast<WORD>(control.Id()), static_cast<WORD>(code)),
         reinterpret_cast<LPARAM>(static_cast<HWND>(&control)));
}

void DialogWindow::AccessibleOpened() {
    if (AccessibleListener* listener = CurrentAccessibleListener()) {
        accessible_ = std::make_unique<AccessibleTracker>(*this);
        listener->WindowOpened(*this);
    }
}

void DialogWindow::AccessibleClosing() {
    if (!accessible_)
        return;
    accessible_.reset();
    if (AccessibleListener* listener = CurrentAccessibleListener())
        listener->WindowClosing(*this);
}

void DialogWindow::AccessibleChanged(int index) {
    if (!accessible_)
        return;
    if (AccessibleListener* listener = CurrentAccessibleListener())
        accessible_->Refresh(*this, index, *listener);
}

}  // namespace ui
