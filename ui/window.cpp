// Control behaviour, keyboard navigation and notification of the dialog, once for every backend.
#include "ui/window.h"

#include <algorithm>
#include <deque>

#include "ui/cwnd.h"

namespace ui {
namespace {

char16_t FoldCase(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

bool StartsWithNoCase(const std::u16string& text, const std::u16string& prefix) {
    if (prefix.size() > text.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (FoldCase(text[i]) != FoldCase(prefix[i]))
            return false;
    return true;
}

bool LessNoCase(const std::u16string& a, const std::u16string& b) {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](char16_t x, char16_t y) { return FoldCase(x) < FoldCase(y); });
}

struct PostedMessage {
    Window* window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::deque<PostedMessage> g_posted;

}  // namespace

// --- Window ----------------------------------------------------------------------------------

void Window::SetText(const CString& text) {
    text_ = text;
    Changed();
}

void Window::Show(bool visible) {
    if (visible_ == visible)
        return;
    visible_ = visible;
    Changed();
}

void Window::Enable(bool enabled) {
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    Changed();
}

// --- Control ---------------------------------------------------------------------------------

Control::Control(DialogWindow& parent, int index, const ControlTemplate& t)
    : parent_(parent), index_(index), template_(t) {
    id_ = t.id;
    style_ = t.style | WS_CHILD | WS_VISIBLE;
    text_ = CString(t.caption ? t.caption : u"");
}

bool Control::IsPushButton() const {
    const DWORD type = style_ & BS_TYPEMASK;
    return Class() == ControlClass::Button && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}
bool Control::IsDefaultPushButton() const {
    return Class() == ControlClass::Button && (style_ & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}
bool Control::IsRadio() const {
    return Class() == ControlClass::Button && (style_ & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
}
bool Control::IsCheckBox() const {
    return Class() == ControlClass::Button && (style_ & BS_TYPEMASK) == BS_AUTOCHECKBOX;
}
bool Control::IsGroupBox() const {
    return Class() == ControlClass::Button && (style_ & BS_TYPEMASK) == BS_GROUPBOX;
}

void Control::Changed() {
    Invalidate();
    if (WindowView* view = parent_.View())
        view->Update(index_);
}

void Control::Notify(UINT code) {
    parent_.NotifyFromControl(*this, code);
}

LRESULT Control::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETTEXT:
            // The caret goes to the end of the new text, which cannot be undone.
            text_ = CString(reinterpret_cast<const char16_t*>(lParam));
            anchor_ = caret_ = text_.GetLength();
            hasUndo_ = typingRun_ = false;
            Changed();
            // Edits report every change of their text, also one made by the program.
            if (Class() == ControlClass::Edit)
                Notify(EN_CHANGE);
            return TRUE;
        case EM_GETSEL:
            return static_cast<LRESULT>(
                MakeWParam(static_cast<WORD>(SelStart()), static_cast<WORD>(SelEnd())));
        case EM_SETSEL: {
            // -1 as the start removes the selection; -1 as the end selects to the end.
            const int start = static_cast<int>(wParam);
            const int end = static_cast<int>(lParam);
            if (start == -1)
                Select(caret_, caret_, false);
            else
                Select(start, end == -1 ? text_.GetLength() : end, false);
            return 0;
        }
        case EM_CANUNDO:
            return hasUndo_;
        case EM_EMPTYUNDOBUFFER:
            hasUndo_ = false;
            return 0;
        case WM_UNDO:
        case EM_UNDO:
            Undo();
            return TRUE;
        case WM_CUT:
        case WM_COPY:
        case WM_PASTE:
        case WM_CLEAR:
            UserEditCommand(message);
            return 0;
        case WM_GETTEXTLENGTH:
            return text_.GetLength();
        case BM_GETCHECK:
            return check_;
        case BM_SETCHECK:
            check_ = static_cast<int>(wParam);
            Changed();
            return 0;
        case EM_LIMITTEXT:
            textLimit_ = wParam ? static_cast<int>(wParam) : 0x7FFFFFFE;
            return 0;
        case CB_GETCOUNT:
            return static_cast<LRESULT>(rows_.size());
        case CB_GETCURSEL:
            return curSel_;
        case CB_SETCURSEL: {
            const auto index = static_cast<std::intptr_t>(static_cast<int>(wParam));
            const bool inRange = index >= 0 && index < static_cast<std::intptr_t>(rows_.size());
            curSel_ = inRange ? static_cast<int>(index) : -1;
            text_ = inRange ? rows_[curSel_] : CString();
            Changed();
            return inRange ? index : CB_ERR;
        }
        case CB_GETLBTEXTLEN: {
            const auto index = static_cast<std::size_t>(wParam);
            return index < rows_.size() ? rows_[index].GetLength() : CB_ERR;
        }
        case CB_GETLBTEXT: {
            const auto index = static_cast<std::size_t>(wParam);
            if (index >= rows_.size())
                return CB_ERR;
            *reinterpret_cast<CString*>(lParam) = rows_[index];
            return rows_[index].GetLength();
        }
        case CB_ADDSTRING: {
            CString row(reinterpret_cast<const char16_t*>(lParam));
            auto at = rows_.end();
            if (style_ & CBS_SORT)
                at = std::upper_bound(rows_.begin(), rows_.end(), row,
                                      [](const CString& a, const CString& b) {
                                          return LessNoCase(a.Str(), b.Str());
                                      });
            const auto index = at - rows_.begin();
            rows_.insert(at, std::move(row));
            if (curSel_ >= index)
                ++curSel_;
            Changed();
            return index;
        }
        case CB_RESETCONTENT:
            rows_.clear();
            curSel_ = -1;
            text_.Empty();
            Changed();
            return 0;
        case CB_SELECTSTRING: {
            const std::u16string prefix(reinterpret_cast<const char16_t*>(lParam));
            const int count = static_cast<int>(rows_.size());
            const int start = static_cast<int>(wParam);  // -1: from the top
            for (int k = 0; k < count; ++k) {
                const int i = (start + 1 + k) % count;
                if (StartsWithNoCase(rows_[i].Str(), prefix)) {
                    curSel_ = i;
                    text_ = rows_[i];
                    Changed();
                    return i;
                }
            }
            return CB_ERR;
        }
        case TBM_GETPOS:
            return pos_;
        case TBM_GETRANGEMIN:
            return rangeMin_;
        case TBM_GETRANGEMAX:
            return rangeMax_;
        case TBM_GETLINESIZE:
            return lineSize_;
        case TBM_SETLINESIZE: {
            const int old = lineSize_;
            lineSize_ = static_cast<int>(lParam);
            return old;
        }
        case TBM_GETPAGESIZE:
            return pageSize_ > 0 ? pageSize_ : std::max(1, (rangeMax_ - rangeMin_) / 5);
        case TBM_SETPAGESIZE: {
            const auto old = Send(TBM_GETPAGESIZE, 0, 0);
            pageSize_ = static_cast<int>(lParam);
            return old;
        }
        case TBM_SETPOS:
            pos_ = std::clamp(static_cast<int>(lParam), rangeMin_, std::max(rangeMin_, rangeMax_));
            if (wParam)
                Changed();
            return 0;
        case TBM_SETRANGEMIN:
            rangeMin_ = static_cast<int>(lParam);
            pos_ = std::max(pos_, rangeMin_);
            if (wParam)
                Changed();
            return 0;
        case TBM_SETRANGEMAX:
            rangeMax_ = static_cast<int>(lParam);
            pos_ = std::min(pos_, std::max(rangeMin_, rangeMax_));
            if (wParam)
                Changed();
            return 0;
        default:
            return 0;
    }
}

void Control::UserClick() {
    if (!IsUsable() || parent_.ModalEnded())
        return;
    if (Class() == ControlClass::Static || IsGroupBox())
        return;
    parent_.SetFocus(this);
    if (Class() != ControlClass::Button)
        return;
    if (IsCheckBox()) {
        check_ = check_ == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        Changed();
    } else if (IsRadio()) {
        for (Control* other : parent_.RadioGroup(*this)) {
            const int want = other == this ? BST_CHECKED : BST_UNCHECKED;
            if (other->check_ != want) {
                other->check_ = want;
                other->Changed();
            }
        }
    }
    Notify(BN_CLICKED);
}

void Control::Press() {
    if (IsUsable() && !parent_.ModalEnded() && IsPushButton())
        Notify(BN_CLICKED);
}

void Control::UserSelectRow(int row) {
    if (!IsUsable() || Class() != ControlClass::ComboBox)
        return;
    if (row < 0 || row >= static_cast<int>(rows_.size()) || row == curSel_)
        return;
    curSel_ = row;
    text_ = rows_[row];
    Changed();
    Notify(CBN_SELCHANGE);
}

void Control::UserSetPos(int pos) {
    if (!IsUsable() || Class() != ControlClass::Trackbar)
        return;
    pos = std::clamp(pos, rangeMin_, std::max(rangeMin_, rangeMax_));
    if (pos == pos_)
        return;
    pos_ = pos;
    Changed();
}

bool Control::OverLimit(const std::u16string& text) const {
    // As the standard edit's limit: the user may not make the text longer than it, but a longer
    // text the program put in stays whole and may still be shortened.
    return static_cast<int>(text.size()) > textLimit_ && text.size() > text_.Str().size();
}

bool Control::AcceptsText(const std::u16string& text) const {
    if (Class() != ControlClass::Edit || IsReadOnly())
        return false;
    if (OverLimit(text))
        return false;
    if (style_ & ES_NUMBER)
        return std::all_of(text.begin(), text.end(),
                           [](char16_t c) { return c >= u'0' && c <= u'9'; });
    return true;
}

bool Control::UserSetText(const CString& text) {
    if (!IsUsable() || !AcceptsText(text.Str()))
        return false;
    if (text == text_)
        return true;
    undoText_ = text_;
    undoAnchor_ = anchor_;
    undoCaret_ = caret_;
    hasUndo_ = true;
    typingRun_ = false;
    text_ = text;
    anchor_ = caret_ = text_.GetLength();
    Changed();
    Notify(EN_CHANGE);
    return true;
}

bool Control::UserKey(UINT vk, unsigned modifiers) {
    if (!IsUsable())
        return false;
    if (Class() == ControlClass::Edit)
        return EditKey(vk, modifiers);
    if (modifiers & (kControl | kAlt))
        return false;
    switch (Class()) {
        case ControlClass::Button:
            if (vk == VK_SPACE && !IsGroupBox()) {
                UserClick();
                return true;
            }
            if (IsRadio() && (vk == VK_UP || vk == VK_DOWN || vk == VK_LEFT || vk == VK_RIGHT)) {
                const auto group = parent_.RadioGroup(*this);
                const auto n = static_cast<int>(group.size());
                const int self =
                    static_cast<int>(std::find(group.begin(), group.end(), this) - group.begin());
                const int step = (vk == VK_DOWN || vk == VK_RIGHT) ? 1 : n - 1;
                for (int k = 1; k < n; ++k) {
                    Control* next = group[(self + k * step) % n];
                    if (next->IsUsable()) {
                        next->UserClick();
                        break;
                    }
                }
                return true;
            }
            return false;
        case ControlClass::ComboBox: {
            const int last = static_cast<int>(rows_.size()) - 1;
            int row = curSel_;
            switch (vk) {
                case VK_UP:
                case VK_LEFT:
                    row = std::max(0, curSel_ - 1);
                    break;
                case VK_DOWN:
                case VK_RIGHT:
                    row = std::min(last, curSel_ + 1);
                    break;
                case VK_HOME:
                    row = 0;
                    break;
                case VK_END:
                    row = last;
                    break;
                case VK_PRIOR:
                    row = std::max(0, curSel_ - 8);
                    break;
                case VK_NEXT:
                    row = std::min(last, curSel_ + 8);
                    break;
                default:
                    return false;
            }
            UserSelectRow(row);
            return true;
        }
        case ControlClass::Trackbar: {
            const int page = static_cast<int>(Send(TBM_GETPAGESIZE, 0, 0));
            switch (vk) {
                case VK_LEFT:
                case VK_UP:
                    UserSetPos(pos_ - lineSize_);
                    break;
                case VK_RIGHT:
                case VK_DOWN:
                    UserSetPos(pos_ + lineSize_);
                    break;
                case VK_PRIOR:
                    UserSetPos(pos_ - page);
                    break;
                case VK_NEXT:
                    UserSetPos(pos_ + page);
                    break;
                case VK_HOME:
                    UserSetPos(rangeMin_);
                    break;
                case VK_END:
                    UserSetPos(rangeMax_);
                    break;
                default:
                    return false;
            }
            return true;
        }
        default:
            return false;
    }
}

void Control::UserWheel(int notches) {
    if (!IsUsable() || notches == 0)
        return;
    // A list answers the wheel only with the focus; it does not steal it.
    if (Class() == ControlClass::ComboBox && !rows_.empty() && parent_.FocusedControl() == this) {
        const int last = static_cast<int>(rows_.size()) - 1;
        UserSelectRow(curSel_ < 0 ? (notches > 0 ? 0 : last)
                                  : std::clamp(curSel_ + notches, 0, last));
    } else if (Class() == ControlClass::Trackbar) {
        UserSetPos(pos_ + notches * lineSize_);
    }
}

void Control::Paint() {
    needsPaint_ = false;
    if (Class() != ControlClass::Trackbar)
        return;
    NMCUSTOMDRAW draw{};
    draw.hdr.hwndFrom = this;
    draw.hdr.idFrom = static_cast<UINT_PTR>(id_);
    draw.hdr.code = NM_CUSTOMDRAW;
    draw.dwDrawStage = 1;  // before painting
    parent_.Object().SendMessage(WM_NOTIFY, static_cast<WPARAM>(id_),
                                 reinterpret_cast<LPARAM>(&draw));
}

// --- DialogWindow ----------------------------------------------------------------------------

DialogWindow::DialogWindow(const DialogTemplate& t, CWnd& object, DialogWindow* owner)
    : template_(t), object_(object), owner_(owner) {
    style_ = t.style;
    text_ = CString(t.caption ? t.caption : u"");
    visible_ = false;
    for (std::size_t i = 0; i < t.controls.size(); ++i)
        controls_.push_back(std::make_unique<Control>(*this, static_cast<int>(i), t.controls[i]));
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
}

std::vector<Control*> DialogWindow::RadioGroup(const Control& control) const {
    int start = control.Index();
    while (start > 0 && !controls_[start]->StartsGroup())
        --start;
    std::vector<Control*> group;
    for (int i = start; i < static_cast<int>(controls_.size()); ++i) {
        if (i > start && controls_[i]->StartsGroup())
            break;
        if (controls_[i]->IsRadio())
            group.push_back(controls_[i].get());
    }
    return group;
}

std::vector<Control*> DialogWindow::TabStops() const {
    std::vector<Control*> stops;
    for (const auto& c : controls_) {
        if (!c->IsTabStop() || !c->IsUsable())
            continue;
        if (c->IsRadio()) {
            // A radio group is one stop: its selected button, or its first when none is.
            const auto group = RadioGroup(*c);
            Control* stop = nullptr;
            for (Control* r : group)
                if (r->Check() == BST_CHECKED && r->IsUsable())
                    stop = r;
            if (!stop)
                for (Control* r : group)
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
        // A one-line edit reached by Tab has all its text selected, ready to be typed over.
        if (focus_->Class() == ControlClass::Edit && !focus_->IsMultiLine())
            focus_->Send(EM_SETSEL, 0, static_cast<LPARAM>(-1));
        return true;
    }
    // An edit's own keys with Ctrl (the clipboard, words) and Alt+Backspace (undo).
    if (focus_ && focus_->Class() == ControlClass::Edit && (modifiers & (kControl | kAlt)) &&
        focus_->UserKey(vk, modifiers))
        return true;
    if (modifiers & (kControl | kAlt))
        return false;
    if (vk == VK_ESCAPE) {
        Control* cancel = FindControl(IDCANCEL);
        Send(WM_COMMAND, MakeWParam(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
        return true;
    }
    if (vk == VK_RETURN) {
        if (focus_ && focus_->IsUsable()) {
            if (focus_->IsPushButton()) {
                focus_->UserClick();
                return true;
            }
            if (focus_->IsMultiLine() && (focus_->Style() & ES_WANTRETURN)) {
                focus_->UserTypeChar(u'\r');
                return true;
            }
        }
        for (const auto& c : controls_) {
            if (c->IsDefaultPushButton()) {
                c->Press();
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
        return;  // sent by Control::Paint with its drawing record
    Send(WM_COMMAND, MakeWParam(static_cast<WORD>(control.Id()), static_cast<WORD>(code)),
         reinterpret_cast<LPARAM>(static_cast<HWND>(&control)));
}

// --- Posted messages -------------------------------------------------------------------------

void PostMessageTo(Window* window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_posted.push_back({window, message, wParam, lParam});
}

void DispatchPostedMessages() {
    while (!g_posted.empty()) {
        PostedMessage m = g_posted.front();
        g_posted.pop_front();
        m.window->Send(m.message, m.wParam, m.lParam);
    }
}

void ForgetPostedMessages(Window* window) {
    std::erase_if(g_posted, [&](const PostedMessage& m) {
        if (m.window == window)
            return true;
        auto* control = dynamic_cast<Control*>(m.window);
        return control && &control->Parent() == window;
    });
}

}  // namespace ui
