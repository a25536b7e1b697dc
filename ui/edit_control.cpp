// Edit controls: the EM_ messages, the selection, the caret keys, the clipboard, one level of undo
// and the context menu. Every change of the text, however made, is one change and one EN_CHANGE.
#include "ui/edit_control.h"

#include "ui/backend.h"

namespace ui {
namespace {

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// One step left or right, over a line break or a surrogate pair as one character.
int PrevPos(const std::u16string& s, int at) {
    if (at <= 0)
        return 0;
    if (at >= 2 && s[at - 2] == u'\r' && s[at - 1] == u'\n')
        return at - 2;
    return (at >= 2 && IsLowSurrogate(s[at - 1])) ? at - 2 : at - 1;
}

int NextPos(const std::u16string& s, int at) {
    const int size = static_cast<int>(s.size());
    if (at >= size)
        return size;
    if (s[at] == u'\r' && at + 1 < size && s[at + 1] == u'\n')
        return at + 2;
    return (at + 1 < size && IsLowSurrogate(s[at + 1])) ? at + 2 : at + 1;
}

// Ctrl+Right goes to the start of the next word, Ctrl+Left to the start of this or the last.
int WordRight(const std::u16string& s, int at) {
    const int size = static_cast<int>(s.size());
    while (at < size && !IsSpace(s[at]))
        ++at;
    while (at < size && IsSpace(s[at]))
        ++at;
    return at;
}

int WordLeft(const std::u16string& s, int at) {
    while (at > 0 && IsSpace(s[at - 1]))
        --at;
    while (at > 0 && !IsSpace(s[at - 1]))
        --at;
    return at;
}

int LineStart(const std::u16string& s, int at) {
    while (at > 0 && s[at - 1] != u'\n')
        --at;
    return at;
}

int LineEnd(const std::u16string& s, int at) {
    const int size = static_cast<int>(s.size());
    while (at < size && s[at] != u'\r' && s[at] != u'\n')
        ++at;
    return at;
}

// Breaks in text from outside: CR LF in a multi-line edit; a single-line edit takes the first
// line only.
std::u16string AsEditText(const std::u16string& text, bool multiLine) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c != u'\r' && c != u'\n') {
            out += c;
            continue;
        }
        if (!multiLine)
            break;
        out += u"\r\n";
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
    }
    return out;
}

}  // namespace

LRESULT EditControl::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETTEXT:
            // The caret goes to the end of the new text, which cannot be undone. Edits report
            // every change of their text, also one made by the program.
            text_ = CString(reinterpret_cast<const char16_t*>(lParam));
            anchor_ = caret_ = text_.GetLength();
            hasUndo_ = typingRun_ = false;
            Changed();
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
        case EM_LIMITTEXT:
            textLimit_ = wParam ? static_cast<int>(wParam) : 0x7FFFFFFE;
            return 0;
        default:
            return Control::Send(message, wParam, lParam);
    }
}

bool EditControl::OverLimit(const std::u16string& text) const {
    // As the standard edit's limit: the user may not make the text longer than it, but a longer
    // text the program put in stays whole and may still be shortened.
    return static_cast<int>(text.size()) > textLimit_ && text.size() > text_.Str().size();
}

bool EditControl::AcceptsText(const std::u16string& text) const {
    if (IsReadOnly())
        return false;
    if (OverLimit(text))
        return false;
    if (style_ & ES_NUMBER)
        return std::all_of(text.begin(), text.end(),
                           [](char16_t c) { return c >= u'0' && c <= u'9'; });
    return true;
}

bool EditControl::UserSetText(const CString& text) {
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

bool EditControl::UserEnter() {
    if (!IsUsable() || !IsMultiLine() || !(style_ & ES_WANTRETURN))
        return false;
    UserTypeChar(u'\r');
    return true;
}

void EditControl::TabbedInto() {
    if (!IsMultiLine())
        Send(EM_SETSEL, 0, static_cast<LPARAM>(-1));
}

CString EditControl::SelectedText() const {
    return CString(text_.Str().substr(static_cast<std::size_t>(SelStart()),
                                      static_cast<std::size_t>(SelEnd() - SelStart())));
}

void EditControl::Select(int anchor, int caret, bool byUser) {
    const std::u16string& s = text_.Str();
    const int size = static_cast<int>(s.size());
    const auto fit = [&](int at) {
        at = std::clamp(at, 0, size);
        return (at > 0 && at < size && s[at - 1] == u'\r' && s[at] == u'\n') ? at - 1 : at;
    };
    anchor = fit(anchor);
    caret = fit(caret);
    typingRun_ = false;
    if (anchor == anchor_ && caret == caret_)
        return;
    anchor_ = anchor;
    caret_ = caret;
    Changed();
    // What the user selects becomes the X selection, which a middle click pastes elsewhere.
    if (byUser && anchor_ != caret_)
        if (Backend* backend = CurrentBackend())
            backend->CopyText(SelectedText(), true);
}

bool EditControl::ReplaceSelection(const std::u16string& with, bool typing) {
    if (!IsUsable() || IsReadOnly())
        return false;
    const int start = SelStart(), end = SelEnd();
    if (with.empty() && start == end)
        return false;
    std::u16string next = text_.Str();
    next.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start), with);
    if (!AcceptsText(next))
        return false;
    // Typing on at the caret adds to the last step, as the standard edit's undo does.
    const bool continues = typing && typingRun_ && start == end;
    if (!continues) {
        undoText_ = text_;
        undoAnchor_ = anchor_;
        undoCaret_ = caret_;
        hasUndo_ = true;
    }
    text_ = CString(std::move(next));
    anchor_ = caret_ = start + static_cast<int>(with.size());
    typingRun_ = typing;
    Changed();
    Notify(EN_CHANGE);
    return true;
}

void EditControl::Undo() {
    if (!hasUndo_ || !IsUsable() || IsReadOnly())
        return;
    // A second undo takes the first back.
    std::swap(text_, undoText_);
    std::swap(anchor_, undoAnchor_);
    std::swap(caret_, undoCaret_);
    typingRun_ = false;
    Changed();
    Notify(EN_CHANGE);
}

bool EditControl::UserTypeChar(char16_t ch) {
    if (!IsUsable())
        return false;
    if (ch == u'\r' || ch == u'\n') {
        if (!IsMultiLine() || !(style_ & ES_WANTRETURN))
            return false;
        return ReplaceSelection(u"\r\n", true);
    }
    if (ch == u'\b') {
        if (anchor_ != caret_)
            return ReplaceSelection(u"");
        if (caret_ == 0 || IsReadOnly())
            return false;
        const int keep = anchor_;
        anchor_ = PrevPos(text_.Str(), caret_);
        if (ReplaceSelection(u""))
            return true;
        anchor_ = keep;
        return false;
    }
    if (ch < 0x20 || ch == 0x7F)
        return false;
    return ReplaceSelection(std::u16string(1, ch), true);
}

bool EditControl::UserPaste(const CString& pasted) {
    if (!IsUsable() || IsReadOnly())
        return false;
    std::u16string with = AsEditText(pasted.Str(), IsMultiLine());
    if (style_ & ES_NUMBER)
        if (!std::all_of(with.begin(), with.end(),
                         [](char16_t c) { return c >= u'0' && c <= u'9'; }))
            return false;
    // What does not fit under the limit is left out.
    const int room = textLimit_ - (text_.GetLength() - (SelEnd() - SelStart()));
    if (static_cast<int>(with.size()) > std::max(room, 0)) {
        with.resize(static_cast<std::size_t>(std::max(room, 0)));
        if (!with.empty() && IsLowSurrogate(with.back()))
            with.pop_back();
        if (!with.empty() && with.back() == u'\r')
            with.pop_back();
    }
    if (with.empty())
        return false;
    return ReplaceSelection(with);
}

void EditControl::UserPlaceCaret(int offset, bool extend) {
    if (!IsUsable())
        return;
    Parent().SetFocus(this);
    Select(extend ? anchor_ : offset, offset, true);
}

void EditControl::UserSelectWord(int offset) {
    if (!IsUsable())
        return;
    Parent().SetFocus(this);
    const std::u16string& s = text_.Str();
    const int size = static_cast<int>(s.size());
    offset = std::clamp(offset, 0, size);
    // The word under the pointer, or the one it ends; a run of spaces is selected as one.
    const int probe =
        (offset == size || (IsSpace(s[offset]) && offset > 0 && !IsSpace(s[offset - 1])))
            ? std::max(offset - 1, 0)
            : offset;
    if (size == 0)
        return;
    const bool space = IsSpace(s[probe]);
    int begin = probe, end = probe;
    while (begin > 0 && IsSpace(s[begin - 1]) == space && s[begin - 1] != u'\n')
        --begin;
    while (end < size && IsSpace(s[end]) == space && s[end] != u'\r')
        ++end;
    Select(begin, end, true);
}

void EditControl::UserEditCommand(UINT command) {
    if (!IsUsable())
        return;
    Backend* backend = CurrentBackend();
    switch (command) {
        case WM_UNDO:
            Undo();
            break;
        case WM_CUT:
            if (anchor_ != caret_ && !IsReadOnly()) {
                if (backend)
                    backend->CopyText(SelectedText(), false);
                ReplaceSelection(u"");
            }
            break;
        case WM_COPY:
            if (anchor_ != caret_ && backend)
                backend->CopyText(SelectedText(), false);
            break;
        case WM_PASTE:
            if (!IsReadOnly() && backend)
                backend->PasteInto(*this, false);
            break;
        case WM_CLEAR:
            if (anchor_ != caret_)
                ReplaceSelection(u"");
            break;
        case EM_SETSEL:
            Select(0, text_.GetLength(), true);
            break;
        default:
            break;
    }
}

std::vector<EditMenuEntry> EditControl::EditMenu() const {
    const bool selected = anchor_ != caret_;
    const bool writable = !IsReadOnly();
    const Backend* backend = CurrentBackend();
    const bool canPaste = writable && backend && backend->ClipboardHasText();
    const bool all = SelStart() == 0 && SelEnd() == text_.GetLength();
    return {{WM_UNDO, u"&Undo", hasUndo_ && writable},
            {0, nullptr, false},
            {WM_CUT, u"Cu&t", selected && writable},
            {WM_COPY, u"&Copy", selected},
            {WM_PASTE, u"&Paste", canPaste},
            {WM_CLEAR, u"&Delete", selected && writable},
            {0, nullptr, false},
            {EM_SETSEL, u"Select &All", !all}};
}

bool EditControl::UserKey(UINT vk, unsigned modifiers) {
    if (!IsUsable())
        return false;
    const bool shift = modifiers & kShift;
    const bool ctrl = modifiers & kControl;
    if (modifiers & kAlt) {
        if (vk == VK_BACK && modifiers == kAlt) {
            UserEditCommand(WM_UNDO);
            return true;
        }
        return false;
    }
    if (ctrl && !shift) {
        switch (vk) {
            case 'A':
                UserEditCommand(EM_SETSEL);
                return true;
            case 'C':
            case VK_INSERT:
                UserEditCommand(WM_COPY);
                return true;
            case 'X':
                UserEditCommand(WM_CUT);
                return true;
            case 'V':
                UserEditCommand(WM_PASTE);
                return true;
            case 'Z':
                UserEditCommand(WM_UNDO);
                return true;
            default:
                break;
        }
    }
    if (shift && !ctrl) {
        if (vk == VK_INSERT) {
            UserEditCommand(WM_PASTE);
            return true;
        }
        if (vk == VK_DELETE) {
            UserEditCommand(WM_CUT);
            return true;
        }
    }
    const std::u16string& s = text_.Str();
    const int size = static_cast<int>(s.size());
    const bool selected = anchor_ != caret_;
    int to = caret_;
    switch (vk) {
        case VK_LEFT:
            to = ctrl                   ? WordLeft(s, caret_)
                 : (selected && !shift) ? SelStart()
                                        : PrevPos(s, caret_);
            break;
        case VK_RIGHT:
            to = ctrl ? WordRight(s, caret_) : (selected && !shift) ? SelEnd() : NextPos(s, caret_);
            break;
        case VK_HOME:
            to = ctrl ? 0 : LineStart(s, caret_);
            break;
        case VK_END:
            to = ctrl ? size : LineEnd(s, caret_);
            break;
        case VK_UP:
        case VK_DOWN: {
            if (!IsMultiLine() || ctrl)
                return false;
            const int start = LineStart(s, caret_);
            const int column = caret_ - start;
            int target;
            if (vk == VK_UP) {
                if (start == 0)
                    return true;
                target = LineStart(s, PrevPos(s, start));
            } else {
                const int end = LineEnd(s, caret_);
                if (end == size)
                    return true;
                target = NextPos(s, end);
            }
            to = std::min(target + column, LineEnd(s, target));
            break;
        }
        case VK_DELETE: {
            if (ctrl)
                return false;
            const int keep = anchor_;
            if (!selected) {
                if (caret_ == size)
                    return true;
                anchor_ = NextPos(s, caret_);
            }
            if (!ReplaceSelection(u""))
                anchor_ = keep;
            return true;
        }
        case VK_BACK:
            if (!ctrl)
                UserTypeChar(u'\b');
            return true;
        default:
            return false;
    }
    Select(shift ? anchor_ : to, to, true);
    return true;
}

}  // namespace ui
