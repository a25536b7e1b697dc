// Edit layout, drawing and the mouse. The model keeps the text, the selection and the caret; this
// widget keeps only the scroll position.
#include "ui/fltk/edit_box.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/fl_utf8.h>

#include <algorithm>

#include "ui/fltk/caption_text.h"
#include "ui/fltk/desktop_scale.h"
#include "ui/fltk/dialog_view.h"
#include "ui/fltk/system_menu.h"

namespace ui::fltk {
namespace {

std::size_t NextChar(const std::string& s, std::size_t at) {
    if (at >= s.size())
        return s.size();
    ++at;
    while (at < s.size() && (static_cast<unsigned char>(s[at]) & 0xC0) == 0x80)
        ++at;
    return at;
}

double Width(const std::string& s, std::size_t begin, std::size_t end) {
    return end > begin ? fl_width(s.data() + begin, static_cast<int>(end - begin)) : 0.0;
}

}  // namespace

EditBox::EditBox(DialogView& view, EditControl& control, int x, int y, int w, int h)
    : Fl_Group(x, y, w, h), KindWidget(view, control) {
    asciiWidths_.fill(-1);
    box(FL_NO_BOX);
    if (control.IsMultiLine() && (control.Style() & WS_VSCROLL)) {
        const int sw = Fl::scrollbar_size();
        scrollbar_ = new Fl_Scrollbar(x + w - sw - Frame(), y + Frame(), sw, h - 2 * Frame());
        scrollbar_->type(FL_VERTICAL);
        scrollbar_->callback(Scrolled, this);
        scrollbar_->clear_visible_focus();
    }
    end();
    Sync();
}

int EditBox::Frame() {
    return Scaled(2);
}

int EditBox::Margin() {
    return Scaled(3);
}

int EditBox::TextWidth() const {
    return w() - 2 * Margin() - (scrollbar_ ? scrollbar_->w() : 0);
}

int EditBox::LineHeight() const {
    fl_font(view_.Font().face, view_.Font().size);
    return fl_height();
}

int EditBox::VisibleLines() const {
    return std::max(1, (h() - 2 * Frame()) / LineHeight());
}

void EditBox::Sync() {
    const std::u16string& model = control_.Text().Str();
    if (model != shown_ || modelAt_.empty()) {
        // The model's CR LF (or a lone CR or LF) is one "\n" on the screen.
        shown_ = model;
        text_.clear();
        modelAt_.clear();
        text_.reserve(model.size());
        modelAt_.reserve(model.size() + 1);
        for (std::size_t i = 0; i < model.size();) {
            unsigned code = model[i];
            if (code >= 0x20 && code < 0x80) {  // most text: one byte for one unit
                text_.push_back(static_cast<char>(code));
                modelAt_.push_back(static_cast<int>(i++));
                continue;
            }
            std::size_t units = 1;
            if (code == u'\r') {
                code = '\n';
                if (i + 1 < model.size() && model[i + 1] == u'\n')
                    units = 2;
            } else if (code >= 0xD800 && code < 0xDC00 && i + 1 < model.size() &&
                       model[i + 1] >= 0xDC00 && model[i + 1] <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (model[i + 1] - 0xDC00);
                units = 2;
            }
            char bytes[8];
            const int length = fl_utf8encode(code, bytes);
            text_.append(bytes, static_cast<std::size_t>(length));
            modelAt_.insert(modelAt_.end(), static_cast<std::size_t>(length), static_cast<int>(i));
            i += units;
        }
        modelAt_.push_back(static_cast<int>(model.size()));
        linesWidth_ = -1;
    }
    ScrollToCaret();
    SyncScrollbar();
    redraw();
}

std::size_t EditBox::ScreenOffset(int modelOffset) const {
    return static_cast<std::size_t>(
        std::lower_bound(modelAt_.begin(), modelAt_.end(), modelOffset) - modelAt_.begin());
}

double EditBox::CharWidth(std::size_t at) const {
    // Text widths in FLTK are the sums of the characters' advances, so they are measured once.
    const auto byte = static_cast<unsigned char>(text_[at]);
    if (byte < 0x80) {
        if (asciiWidths_[byte] < 0)
            asciiWidths_[byte] = fl_width(text_.data() + at, 1);
        return asciiWidths_[byte];
    }
    int length = 0;
    const unsigned code = fl_utf8decode(text_.data() + at, text_.data() + text_.size(), &length);
    const auto [it, added] = charWidths_.try_emplace(code, 0.0);
    if (added)
        it->second = fl_width(text_.data() + at, std::max(length, 1));
    return it->second;
}

const std::vector<EditBox::Line>& EditBox::Layout() const {
    const int room = TextWidth();
    if (linesWidth_ == room)
        return lines_;
    fl_font(view_.Font().face, view_.Font().size);
    lines_.clear();
    linesWidth_ = room;
    if (!control_.IsMultiLine()) {
        lines_.push_back({0, text_.size()});
        return lines_;
    }
    std::size_t begin = 0;
    std::size_t hardEnd = std::string::npos;  // found once for all the lines wrapped before it
    while (true) {
        if (hardEnd == std::string::npos || hardEnd < begin)
            hardEnd = std::min(text_.find('\n', begin), text_.size());
        // Break after the last space that fits, or inside a word that is too long.
        double width = 0;
        std::size_t fit = begin;
        std::size_t lastSpace = std::string::npos;
        bool over = false;
        for (std::size_t at = begin; at < hardEnd; at = NextChar(text_, at)) {
            width += CharWidth(at);
            if (width > room) {
                over = true;
                break;
            }
            fit = NextChar(text_, at);
            if (text_[at] == ' ')
                lastSpace = at;
        }
        if (over) {
            const std::size_t end = lastSpace != std::string::npos
                                        ? lastSpace + 1
                                        : std::max(fit, NextChar(text_, begin));
            lines_.push_back({begin, end});
            begin = end;
            continue;
        }
        lines_.push_back({begin, hardEnd});
        if (hardEnd >= text_.size())
            break;
        begin = hardEnd + 1;
    }
    return lines_;
}

int EditBox::LineOf(const std::vector<Line>& lines, std::size_t offset) const {
    // The last line beginning at or before the offset; a wrapped line's end is the next one's
    // beginning, a line break's offset belongs to the line it ends.
    const auto after =
        std::upper_bound(lines.begin(), lines.end(), offset,
                         [](std::size_t at, const Line& line) { return at < line.begin; });
    return std::max(0, static_cast<int>(after - lines.begin()) - 1);
}

int EditBox::LineX(const Line& line) const {
    if (!(control_.Style() & ES_CENTER))
        return TextLeft() - shift_;
    const int width = static_cast<int>(Width(text_, line.begin, line.end));
    return TextLeft() + (TextWidth() - width) / 2;
}

std::size_t EditBox::OffsetAt(int mx, int my) const {
    const auto& lines = Layout();
    const int row = std::clamp(topLine_ + (my - y() - Frame()) / LineHeight(), 0,
                               static_cast<int>(lines.size()) - 1);
    const Line& line = lines[static_cast<std::size_t>(row)];
    const int left = LineX(line);
    std::size_t best = line.begin;
    for (std::size_t at = line.begin; at < line.end; at = NextChar(text_, at)) {
        const std::size_t next = NextChar(text_, at);
        const double mid =
            left + (Width(text_, line.begin, at) + Width(text_, line.begin, next)) / 2;
        if (mx < mid)
            return at;
        best = next;
    }
    return best;
}

void EditBox::ScrollToCaret() {
    const std::size_t caret = ScreenOffset(control_.Caret());
    const auto& lines = Layout();
    const int row = LineOf(lines, caret);
    const int visible = VisibleLines();
    if (row < topLine_)
        topLine_ = row;
    else if (row >= topLine_ + visible)
        topLine_ = row - visible + 1;
    topLine_ = std::clamp(topLine_, 0, std::max(0, static_cast<int>(lines.size()) - visible));
    if (!control_.IsMultiLine()) {
        const int caretX = static_cast<int>(Width(text_, 0, caret));
        if (caretX - shift_ > TextWidth() - Frame())
            shift_ = caretX - TextWidth() + Frame();
        else if (caretX < shift_)
            shift_ = caretX;
    }
}

void EditBox::SyncScrollbar() {
    if (!scrollbar_)
        return;
    const int total = static_cast<int>(Layout().size());
    const int visible = VisibleLines();
    scrollbar_->value(topLine_, visible, 0, std::max(total, visible));
    if (total > visible)
        scrollbar_->activate();
    else
        scrollbar_->deactivate();
}

void EditBox::Scrolled(Fl_Widget* widget, void* data) {
    auto* self = static_cast<EditBox*>(data);
    self->topLine_ = static_cast<Fl_Scrollbar*>(widget)->value();
    self->redraw();
}

bool EditBox::LineKey(int key, bool extend) {
    const auto& lines = Layout();
    const std::size_t caret = ScreenOffset(control_.Caret());
    const int row = LineOf(lines, caret);
    const Line& line = lines[static_cast<std::size_t>(row)];
    std::size_t to = caret;
    switch (key) {
        case FL_Home:
            to = line.begin;
            break;
        case FL_End:
            // Before the space where the line was wrapped, so the caret stays on this line.
            to = line.end;
            if (to > line.begin && to < text_.size() && text_[to] != '\n' && text_[to - 1] == ' ')
                --to;
            break;
        default: {
            const int target = row + (key == FL_Up ? -1 : 1);
            if (target < 0 || target >= static_cast<int>(lines.size()))
                return true;
            const int cx = LineX(line) + static_cast<int>(Width(text_, line.begin, caret));
            const int cy = y() + Frame() + (target - topLine_) * LineHeight() + LineHeight() / 2;
            to = OffsetAt(cx, cy);
            break;
        }
    }
    control_.UserPlaceCaret(ModelOffset(to), extend);
    return true;
}

bool EditBox::EditKey(int key, int state) {
    if (!InputAllowed() || (state & (FL_ALT | FL_META)))
        return false;
    const bool ctrl = state & FL_CTRL;
    // Home, End and the vertical arrows follow the wrapped lines, which only the screen knows.
    if (control_.IsMultiLine() && !ctrl &&
        (key == FL_Home || key == FL_End || key == FL_Up || key == FL_Down))
        return LineKey(key, state & FL_SHIFT);
    const char* typed = Fl::event_text();
    if (!ctrl && Fl::event_length() > 0 && static_cast<unsigned char>(typed[0]) >= 0x20 &&
        typed[0] != 0x7F) {
        const CString chars =
            CString::FromUtf8(std::string(typed, static_cast<std::size_t>(Fl::event_length())));
        for (char16_t ch : chars.Str())
            control_.UserTypeChar(ch);
        return true;
    }
    return false;  // the dialog hands the caret, deletion and clipboard keys to the control
}

void EditBox::OpenMenu(int mx, int my) {
    std::vector<MenuItem> items;
    for (const EditMenuEntry& entry : control_.EditMenu()) {
        if (entry.command == 0)
            items.push_back({MF_SEPARATOR, 0, CString()});
        else
            items.push_back(
                {entry.enabled ? MF_STRING : MF_GRAYED, entry.command, CString(entry.text)});
    }
    const UINT chosen = ChooseFromSystemMenu(items, mx, my, view_.Font());
    if (chosen != 0 && InputAllowed())
        control_.UserEditCommand(chosen);
}

int EditBox::handle(int event) {
    switch (event) {
        case FL_PUSH: {
            if (scrollbar_ && Fl::event_inside(scrollbar_))
                return Fl_Group::handle(event);
            if (!InputAllowed())
                return 1;
            const int at = ModelOffset(OffsetAt(Fl::event_x(), Fl::event_y()));
            switch (Fl::event_button()) {
                case FL_LEFT_MOUSE:
                    if (Fl::event_clicks() > 0)
                        control_.UserSelectWord(at);
                    else
                        control_.UserPlaceCaret(at, Fl::event_state(FL_SHIFT) != 0);
                    dragging_ = true;
                    break;
                case FL_MIDDLE_MOUSE:
                    // Pastes the X selection where the pointer is.
                    control_.UserPlaceCaret(at, false);
                    if (!control_.IsReadOnly())
                        Fl::paste(*this, 0);
                    break;
                case FL_RIGHT_MOUSE:
                    control_.UserClick();  // takes the focus, keeps the selection
                    AfterInput();
                    OpenMenu(Fl::event_x(), Fl::event_y());
                    break;
                default:
                    break;
            }
            AfterInput();
            return 1;
        }
        case FL_DRAG:
            if (dragging_ && InputAllowed()) {
                control_.UserPlaceCaret(ModelOffset(OffsetAt(Fl::event_x(), Fl::event_y())), true);
                AfterInput();
            }
            return 1;
        case FL_RELEASE:
            if (!dragging_)
                return Fl_Group::handle(event);
            dragging_ = false;
            return 1;
        case FL_PASTE:
            if (InputAllowed()) {
                control_.UserPaste(CString::FromUtf8(
                    std::string(Fl::event_text(), static_cast<std::size_t>(Fl::event_length()))));
                AfterInput();
            }
            return 1;
        case FL_MOUSEWHEEL:
            if (scrollbar_ && scrollbar_->active()) {
                topLine_ =
                    std::clamp(topLine_ + Fl::event_dy(), 0,
                               std::max(0, static_cast<int>(Layout().size()) - VisibleLines()));
                SyncScrollbar();
                redraw();
                return 1;
            }
            return 0;
        case FL_FOCUS:
        case FL_UNFOCUS:
        case FL_KEYBOARD:
            return 0;
        default:
            return Fl_Group::handle(event);
    }
}

void EditBox::draw() {
    const bool editable = active_r() && !control_.IsReadOnly();
    draw_box(FL_DOWN_BOX, x(), y(), w(), h(),
             editable ? FL_BACKGROUND2_COLOR : FL_BACKGROUND_COLOR);
    const DialogFont& font = view_.Font();
    fl_font(font.face, font.size);
    const int lineHeight = fl_height();
    const auto& lines = Layout();
    const int textRight = TextLeft() + TextWidth();
    fl_push_clip(x() + Frame(), y() + Frame(), textRight - x() - Frame(), h() - 2 * Frame());
    // A single line sits in the middle of its box; several lines start at the top.
    const int top = control_.IsMultiLine() ? y() + Frame() : y() + (h() - lineHeight) / 2;
    // The selection shows while the box has the focus, as a standard edit's does.
    const std::size_t selBegin = ScreenOffset(control_.SelStart());
    const std::size_t selEnd = ScreenOffset(control_.SelEnd());
    const bool selection = Focused() && selBegin < selEnd;
    const Fl_Color ink = active_r() ? FL_FOREGROUND_COLOR : fl_inactive(FL_FOREGROUND_COLOR);
    for (int i = topLine_; i < static_cast<int>(lines.size()); ++i) {
        const int ly = top + (i - topLine_) * lineHeight;
        if (ly > y() + h())
            break;
        const Line& line = lines[static_cast<std::size_t>(i)];
        const int lx = LineX(line);
        const int baseline = ly + fl_height() - fl_descent();
        const int length = static_cast<int>(line.end - line.begin);
        fl_color(ink);
        fl_draw(text_.data() + line.begin, length, lx, baseline);
        // A selected line break shows as a little selected room after the line.
        const bool breakSelected = selEnd > line.end && line.end < text_.size();
        if (selection && selBegin <= line.end && selEnd > line.begin &&
            (selBegin < line.end || breakSelected)) {
            const std::size_t from = std::max(selBegin, line.begin);
            const std::size_t to = std::min(selEnd, line.end);
            const int x1 = lx + static_cast<int>(Width(text_, line.begin, from));
            const int x2 = lx + static_cast<int>(Width(text_, line.begin, to)) +
                           (breakSelected ? static_cast<int>(fl_width(' ')) : 0);
            fl_color(FL_SELECTION_COLOR);
            fl_rectf(x1, ly, x2 - x1, lineHeight);
            fl_push_clip(x1, ly, x2 - x1, lineHeight);
            fl_color(fl_contrast(FL_FOREGROUND_COLOR, FL_SELECTION_COLOR));
            fl_draw(text_.data() + line.begin, length, lx, baseline);
            fl_pop_clip();
        }
    }
    if (Focused()) {
        const std::size_t caret = ScreenOffset(control_.Caret());
        const int row = LineOf(lines, caret);
        const Line& line = lines[static_cast<std::size_t>(row)];
        const int cx = LineX(line) + static_cast<int>(Width(text_, line.begin, caret));
        const int cy = top + (row - topLine_) * lineHeight;
        fl_color(FL_FOREGROUND_COLOR);
        fl_rectf(cx, cy + 1, Scaled(1), lineHeight - 2);
    }
    fl_pop_clip();
    if (scrollbar_)
        draw_child(*scrollbar_);
}

}  // namespace ui::fltk
