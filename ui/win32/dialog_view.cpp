// Mirroring the framework's dialog onto a real one, and turning the real one's notifications
// into the framework's user input.
#include "ui/win32/dialog_view.h"

#include "ui/accessible.h"
#include "ui/button_control.h"
#include "ui/cwnd.h"
#include "ui/edit_control.h"
#include "ui/list_control.h"
#include "ui/slider_control.h"
#include "ui/win32/dialog_bytes.h"

namespace ui::win32 {
namespace {

// Messages of the real controls that the framework's headers do not name.
// Each end on its own: TBM_SETRANGE packs both into 16-bit signed halves, which 65535 overflows.
constexpr UINT kTrackbarSetRangeMin = WM_USER + 7;  // TBM_SETRANGEMIN
constexpr UINT kTrackbarSetRangeMax = WM_USER + 8;  // TBM_SETRANGEMAX

// Runs while the view writes to the controls, so that their reports are not taken as input.
class Writing {
  public:
    explicit Writing(int& depth) : depth_(depth) { ++depth_; }
    ~Writing() { --depth_; }
    Writing(const Writing&) = delete;
    Writing& operator=(const Writing&) = delete;

  private:
    int& depth_;
};

}  // namespace

DialogView::DialogView(DialogWindow& window) : window_(window) {
    DialogView* ownerView = nullptr;
    if (DialogWindow* owner = window.Owner())
        ownerView = dynamic_cast<DialogView*>(owner->View());
    const std::vector<std::uint8_t> bytes = DialogTemplateBytes(window.Template());
    owner_ = ownerView ? ownerView->Handle() : nullptr;
    hwnd_ = native::CreateDialogFromTemplate(bytes, owner_, this);
    controls_ = native::Children(hwnd_);
    controls_.resize(window.Controls().size(), nullptr);
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const Control& c = *window.Controls()[i];
        if (controls_[i] && c.Class() == ControlClass::Static &&
            (c.Style() & SS_TYPEMASK) != SS_ICON)
            native::FitStaticText(hwnd_, controls_[i]);
        // A push button without text would be read as nothing: it takes the name the model gives
        // it (the tiny save button is "Save"). Every other control keeps the system's own name.
        const auto* button = c.TryAs<ButtonControl>();
        if (controls_[i] && button && button->IsPushButton() && c.Text().IsEmpty())
            native::NameForScreenReaders(controls_[i], DescribeControl(c).name.Str());
    }
    mirrored_.resize(controls_.size());
    systemMenuItems_ = window.SystemMenu().size();  // the system gives those items itself
    for (std::size_t i = 0; i < controls_.size(); ++i)
        MirrorControl(static_cast<int>(i));
}

DialogView::~DialogView() {
    if (hwnd_)
        native::DestroyWindow(hwnd_);
}

void DialogView::Show(bool visible) {
    // As the system's own modal dialogs do, the owner is enabled before the dialog goes, so
    // that the activation returns to it; the framework enables it right after.
    if (!visible && owner_)
        native::ReturnActivation(owner_);
    if (visible) {
        MirrorDialog();
        MirrorFocus();
    }
    native::Show(hwnd_, visible);
    if (visible)
        MirrorFocus();
}

RECT DialogView::ClientRect() const {
    int width = 0, height = 0;
    native::ClientSize(hwnd_, width, height);
    return RECT{0, 0, width, height};
}

void DialogView::Update(int index) {
    if (index < 0)
        MirrorDialog();
    else
        MirrorControl(index);
    MirrorFocus();
}

void DialogView::MirrorControl(int index) {
    if (index < 0 || index >= static_cast<int>(controls_.size()) || !controls_[index])
        return;
    const Control& c = *window_.Controls()[index];
    native::Handle h = controls_[index];
    Mirrored& m = mirrored_[index];
    Writing writing(writing_);

    switch (c.Class()) {
        case ControlClass::ComboBox: {
            const ListControl& list = c.As<ListControl>();
            if (!m.written || m.rows != list.Rows()) {
                native::Send(h, CB_RESETCONTENT, 0, 0);
                for (const CString& row : list.Rows())
                    native::Send(h, CB_ADDSTRING, 0,
                                 reinterpret_cast<std::intptr_t>(row.Str().c_str()));
                m.rows = list.Rows();
                m.curSel = -2;
            }
            if (m.curSel != list.CurSel() ||
                native::Send(h, CB_GETCURSEL, 0, 0) != static_cast<std::intptr_t>(list.CurSel())) {
                native::Send(h, CB_SETCURSEL, static_cast<std::uintptr_t>(list.CurSel()), 0);
                m.curSel = list.CurSel();
            }
            break;
        }
        case ControlClass::Trackbar: {
            const SliderControl& slider = c.As<SliderControl>();
            if (!m.written || m.rangeMin != slider.RangeMin() || m.rangeMax != slider.RangeMax()) {
                native::Send(h, kTrackbarSetRangeMin, FALSE, slider.RangeMin());
                native::Send(h, kTrackbarSetRangeMax, TRUE, slider.RangeMax());
                m.rangeMin = slider.RangeMin();
                m.rangeMax = slider.RangeMax();
            }
            if (native::Send(h, TBM_GETPOS, 0, 0) != slider.Pos())
                native::Send(h, TBM_SETPOS, TRUE, slider.Pos());
            m.pos = slider.Pos();
            break;
        }
        case ControlClass::Edit: {
            const EditControl& edit = c.As<EditControl>();
            // Compared with the control itself: the user's typing changes it between reports.
            if (CString(native::Text(h)) != c.Text())
                native::SetText(h, c.Text().Str());
            if (m.limit != edit.TextLimit()) {
                native::Send(h, EM_LIMITTEXT, static_cast<std::uintptr_t>(edit.TextLimit()), 0);
                m.limit = edit.TextLimit();
            }
            break;
        }
        case ControlClass::Button:
            if (const ButtonControl& button = c.As<ButtonControl>();
                button.IsRadio() || button.IsCheckBox()) {
                if (native::Send(h, BM_GETCHECK, 0, 0) != button.Check())
                    native::Send(h, BM_SETCHECK, static_cast<std::uintptr_t>(button.Check()), 0);
                m.check = button.Check();
            }
            [[fallthrough]];
        case ControlClass::Static:
            if (m.written && m.text != c.Text() && (c.Style() & SS_TYPEMASK) != SS_ICON)
                native::SetText(h, c.Text().Str());
            m.text = c.Text();
            break;
    }
    if (!m.written || m.visible != c.IsVisible())
        native::Show(h, c.IsVisible());
    if (!m.written || m.enabled != c.IsEnabled())
        native::Enable(h, c.IsEnabled());
    m.visible = c.IsVisible();
    m.enabled = c.IsEnabled();
    m.written = true;
}

void DialogView::MirrorDialog() {
    Writing writing(writing_);
    if (CString(native::Text(hwnd_)) != window_.Text())
        native::SetText(hwnd_, window_.Text().Str());
    auto& menu = window_.SystemMenu();
    for (; systemMenuItems_ < menu.size(); ++systemMenuItems_) {
        const MenuItem& item = menu[systemMenuItems_];
        native::AppendSystemMenuItem(hwnd_, item.flags, item.id, item.text.Str());
    }
    if (window_.Icon(true) != bigIcon_) {
        bigIcon_ = window_.Icon(true);
        native::SetIcon(hwnd_, IconOf(bigIcon_, true), true);
    }
    if (window_.Icon(false) != smallIcon_) {
        smallIcon_ = window_.Icon(false);
        native::SetIcon(hwnd_, IconOf(smallIcon_, false), false);
    }
    if (window_.IsEnabled() != enabled_) {
        enabled_ = window_.IsEnabled();
        native::Enable(hwnd_, enabled_);
    }
    if (window_.IsIconic() != native::IsIconic(hwnd_) && window_.IsVisible()) {
        iconic_ = window_.IsIconic();
        native::Minimise(hwnd_, iconic_);
    }
    if (!window_.IsVisible())
        native::Show(hwnd_, false);
}

void DialogView::MirrorFocus() {
    Control* focus = window_.FocusedControl();
    if (!focus || !window_.IsVisible() || window_.ModalEnded())
        return;
    native::Handle want = controls_[focus->Index()];
    native::Handle now = native::Focus();
    // Another window (a message box, a nested dialog) may have the keyboard; it keeps it.
    if (!want || now == want || (now && now != hwnd_ && !native::IsChildOf(hwnd_, now)))
        return;
    Writing writing(writing_);
    native::SetFocus(want);
}

void DialogView::FollowNativeFocus() {
    if (window_.ModalEnded())
        return;
    if (Control* c = ControlOf(native::Focus()); c && c != window_.FocusedControl()) {
        Writing writing(writing_);
        window_.SetFocus(c);
    }
}

Control* DialogView::ControlOf(native::Handle handle) const {
    if (!handle)
        return nullptr;
    for (std::size_t i = 0; i < controls_.size(); ++i)
        if (controls_[i] == handle)
            return window_.Controls()[i].get();
    return nullptr;
}

native::Handle DialogView::IconOf(HICON icon, bool big) const {
    const auto* resource = static_cast<const IconResource*>(icon);
    return resource ? native::LoadProgramIcon(resource->id, big) : nullptr;
}

void DialogView::Command(int id, unsigned code, native::Handle handle) {
    if (writing_ > 0 || window_.ModalEnded())
        return;
    Control* c = ControlOf(handle);
    if (!c) {
        // The dialog manager's Enter and Escape when no control of that id exists.
        if (code == BN_CLICKED && (id == IDOK || id == IDCANCEL) && window_.IsEnabled())
            window_.Send(WM_COMMAND, MakeWParam(static_cast<WORD>(id), BN_CLICKED), 0);
        return;
    }
    // Only the notifications that carry the user's input count; the others (EN_UPDATE comes
    // before EN_CHANGE, focus changes) would set the control back before the framework saw it.
    bool input = true;
    switch (c->Class()) {
        case ControlClass::Button:
            input = code == BN_CLICKED;
            if (input)
                c->UserClick();
            break;
        case ControlClass::ComboBox:
            input = code == CBN_SELCHANGE;
            if (input)
                c->As<ListControl>().UserSelectRow(
                    static_cast<int>(native::Send(handle, CB_GETCURSEL, 0, 0)));
            break;
        case ControlClass::Edit:
            input = code == EN_CHANGE;
            if (input)
                c->UserSetText(CString(native::Text(handle)));
            break;
        default:
            input = false;
            break;
    }
    // Whatever the framework made of it is what the control shows.
    if (input && !window_.ModalEnded())
        MirrorControl(c->Index());
}

void DialogView::Scrolled(native::Handle handle) {
    if (writing_ > 0 || window_.ModalEnded())
        return;
    if (Control* c = ControlOf(handle); c && c->Class() == ControlClass::Trackbar) {
        c->As<SliderControl>().UserSetPos(static_cast<int>(native::Send(handle, TBM_GETPOS, 0, 0)));
        MirrorControl(c->Index());
    }
}

bool DialogView::SystemCommand(unsigned id) {
    // The framework's menu items (Minimize, Close and those the program added) and Restore go to
    // the framework; moving, the keyboard's menu and the like stay the system's.
    const unsigned command = id & 0xFFF0;
    bool ours = command == SC_RESTORE;
    for (const MenuItem& item : window_.SystemMenu())
        ours = ours || (item.flags == MF_STRING && item.id == command);
    if (!ours)
        return false;
    window_.UserSystemCommand(id);
    return true;
}

void DialogView::Help() {
    window_.KeyDown(VK_F1, kNoModifier);
}

void DialogView::Minimised(bool iconic) {
    iconic_ = iconic;
    if (window_.IsIconic() != iconic) {
        Writing writing(writing_);
        window_.SetIconic(iconic);
    }
}

native::Handle DialogView::PaintIconic(int& x, int& y) {
    window_.Send(WM_PAINT, 0, 0);
    x = window_.PaintedIconX();
    y = window_.PaintedIconY();
    return IconOf(window_.PaintedIcon(), true);
}

native::Handle DialogView::DragIcon() {
    return IconOf(reinterpret_cast<HICON>(window_.Send(WM_QUERYDRAGICON, 0, 0)), true);
}

bool DialogView::KeyDown(native::Handle target, unsigned vk) {
    // Media keys act on the dialog whichever control has the focus, as they do on other desktops.
    if (vk == VK_MEDIA_PLAY_PAUSE || vk == VK_MEDIA_STOP || vk == VK_MEDIA_NEXT_TRACK ||
        vk == VK_MEDIA_PREV_TRACK) {
        window_.KeyDown(vk, kNoModifier);
        return true;
    }
    // Arrows in a radio group choose the next radio: the framework's behaviour, not the dialog
    // manager's, which would only move the focus among owner-managed buttons.
    Control* c = ControlOf(target);
    const ButtonControl* button = c ? c->TryAs<ButtonControl>() : nullptr;
    if (!button || !button->IsRadio() ||
        (vk != VK_UP && vk != VK_DOWN && vk != VK_LEFT && vk != VK_RIGHT))
        return false;
    window_.SetFocus(c);
    window_.KeyDown(vk, kNoModifier);
    return true;
}

}  // namespace ui::win32
