// Edit input and drawing. The model keeps the text; this widget keeps only the caret and the
// scroll position.
#include "ui/fltk/edit_box.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/fl_utf8.h>

#include <algorithm>

#include "ui/fltk/caption_text.h"
#include "ui/fltk/dialog_view.h"

namespace ui::fltk {
namespace {

std::size_t PrevChar(const std::string& s, std::size_t at) {
    if (at == 0)
        return 0;
    --at;
    while (at > 0 && (static_cast<unsigned char>(s[at]) & 0xC0) == 0x80)
        --at;
    return at;
}

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

EditBox::EditBox(DialogView& view, Control& control, int x, int y, int w, int h)
    : Fl_Group(x, y, w, h), ControlWidget(view, control) {
    box(FL_NO_BOX);
    if (control.IsMultiLine() && (control.Style() & WS_VSCROLL)) {
        const int sw = Fl::scrollbar_size();
        scrollbar_ = new Fl_Scrollbar(x + w - sw - 2, y + 2, sw, h - 4);
        scrollbar_->type(FL_VERTICAL);
        scrollbar_->callback(Scrolled, this);
        scrollbar_->clear_visible_focus();
    }
    end();
    Sync();
}

int EditBox::TextWidth() const {
    return w() - 6 - (scrollbar_ ? scrollbar_->w() : 0);
}

int EditBox::LineHeight() const {
    fl_font(view_.Font().face, view_.Font().size);
    return fl_height();
}

int EditBox::VisibleLines() const {
    return std::max(1, (h() - 4) / LineHeight());
}

void EditBox::Sync() {
    const std::string model = EditTextForScreen(control_.Text());
    if (model != text_) {
        text_ = model;
        caret_ = text_.size();
        ScrollToCaret();
    }
    SyncScrollbar();
}

std::vector<EditBox::Line> EditBox::Layout() const {
    fl_font(view_.Font().face, view_.Font().size);
    std::vector<Line> lines;
    if (!control_.IsMultiLine()) {
        lines.push_back({0, text_.size()});
        return lines;
    }
    const double room = TextWidth();
    std::size_t begin = 0;
    while (true) {
        const std::size_t hardEnd = std::min(text_.find('\n', begin), text_.size());
        std::size_t end = hardEnd;
        if (Width(text_, begin, end) > room) {
            // Break after the last space that fits, or inside a word that is too long.
            std::size_t fit = begin;
            std::size_t lastSpace = std::string::npos;
            for (std::size_t at = begin; at < hardEnd; at = NextChar(text_, at)) {
                if (Width(text_, begin, NextChar(text_, at)) > room)
                    break;
                fit = NextChar(text_, at);
                if (text_[at] == ' ')
                    lastSpace = at;
            }
            end = lastSpace != std::string::npos ? lastSpace + 1
                                                 : std::max(fit, NextChar(text_, begin));
            lines.push_back({begin, end});
            begin = end;
            continue;
        }
        lines.push_back({begin, end});
        if (hardEnd >= text_.size())
            break;
        begin = hardEnd + 1;
    }
    return lines;
}

int EditBox::LineOf(const std::vector<Line>& lines, std::size_t offset) const {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool last = i + 1 == lines.size();
        if (offset < lines[i].end || (offset == lines[i].end && (last || text_[offset] == '\n')))
            return static_cast<int>(i);
    }
    return static_cast<int>(lines.size()) - 1;
}

int EditBox::LineX(const Line& line) const {
    if (!(control_.Style() & ES_CENTER))
        return TextLeft() - shift_;
    const int width = static_cast<int>(Width(text_, line.begin, line.end));
    return TextLeft() + (TextWidth() - width) / 2;
}

std::size_t EditBox::OffsetAt(int mx, int my) const {
    const auto lines = Layout();
    const int row =
        std::clamp(topLine_ + (my - y() - 2) / LineHeight(), 0, static_cast<int>(lines.size()) - 1);
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
    const auto lines = Layout();
    const int row = LineOf(lines, caret_);
    const int visible = VisibleLines();
    if (row < topLine_)
        topLine_ = row;
    else if (row >= topLine_ + visible)
        topLine_ = row - visible + 1;
    topLine_ = std::clamp(topLine_, 0, std::max(0, static_cast<int>(lines.size()) - visible));
    if (!control_.IsMultiLine()) {
        const int caretX = static_cast<int>(Width(text_, 0, caret_));
        if (caretX - shift_ > TextWidth() - 2)
            shift_ = caretX - TextWidth() + 2;
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

void EditBox::Replace(std::size_t from, std::size_t to, const std::string& with) {
    std::string changed = text_.substr(0, from) + with + text_.substr(to);
    if (control_.UserSetText(EditTextFromScreen(changed))) {
        text_ = std::move(changed);
        caret_ = from + with.size();
    }
    ScrollToCaret();
    SyncScrollbar();
    redraw();
}

bool EditBox::EditKey(int key, int state) {
    if (state & (FL_ALT | FL_META))
        return false;
    const auto lines = Layout();
    const int row = LineOf(lines, caret_);
    auto moveTo = [&](std::size_t at) {
        caret_ = at;
        ScrollToCaret();
        SyncScrollbar();
        redraw();
        return true;
    };
    if (state & FL_CTRL) {
        if (key == 'v') {
            Fl::paste(*this, 1);
            return true;
        }
        return false;
    }
    switch (key) {
        case FL_BackSpace:
            if (caret_ > 0)
                Replace(PrevChar(text_, caret_), caret_, "");
            return true;
        case FL_Delete:
            if (caret_ < text_.size())
                Replace(caret_, NextChar(text_, caret_), "");
            return true;
        case FL_Left:
            return moveTo(PrevChar(text_, caret_));
        case FL_Right:
            return moveTo(NextChar(text_, caret_));
        case FL_Home:
            return moveTo(lines[static_cast<std::size_t>(row)].begin);
        case FL_End:
            return moveTo(lines[static_cast<std::size_t>(row)].end);
        case FL_Up:
        case FL_Down: {
            if (!control_.IsMultiLine())
                return false;
            const int target = row + (key == FL_Up ? -1 : 1);
            if (target < 0 || target >= static_cast<int>(lines.size()))
                return true;
            const Line& from = lines[static_cast<std::size_t>(row)];
            const int cx = LineX(from) + static_cast<int>(Width(text_, from.begin, caret_));
            const int cy = y() + 2 + (target - topLine_) * LineHeight() + LineHeight() / 2;
            return moveTo(OffsetAt(cx, cy));
        }
        case FL_Enter:
        case FL_KP_Enter:
            // Only an edit that keeps Enter as a line break takes it; elsewhere the dialog does.
            if (!control_.IsMultiLine() || !(control_.Style() & ES_WANTRETURN))
                return false;
            Replace(caret_, caret_, "\n");
            return true;
        default:
            break;
    }
    const char* typed = Fl::event_text();
    if (Fl::event_length() > 0 && static_cast<unsigned char>(typed[0]) >= 0x20 &&
        typed[0] != 0x7F) {
        Replace(caret_, caret_, std::string(typed, static_cast<std::size_t>(Fl::event_length())));
        return true;
    }
    return false;
}

int EditBox::handle(int event) {
    switch (event) {
        case FL_PUSH:
            if (scrollbar_ && Fl::event_inside(scrollbar_))
                return Fl_Group::handle(event);
            if (Fl::event_button() != FL_LEFT_MOUSE)
                return 0;
            if (InputAllowed()) {
                control_.UserClick();  // takes the focus
                caret_ = OffsetAt(Fl::event_x(), Fl::event_y());
                AfterInput();
                redraw();
            }
            return 1;
        case FL_PASTE:
            if (InputAllowed() && Focused()) {
                std::string pasted(Fl::event_text(), static_cast<std::size_t>(Fl::event_length()));
                if (!control_.IsMultiLine())
                    std::erase(pasted, '\n');
                Replace(caret_, caret_, pasted);
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
    const auto lines = Layout();
    const int textRight = TextLeft() + TextWidth();
    fl_push_clip(x() + 2, y() + 2, textRight - x() - 2, h() - 4);
    fl_color(active_r() ? FL_FOREGROUND_COLOR : fl_inactive(FL_FOREGROUND_COLOR));
    // A single line sits in the middle of its box; several lines start at the top.
    const int top = control_.IsMultiLine() ? y() + 2 : y() + (h() - lineHeight) / 2;
    for (int i = topLine_; i < static_cast<int>(lines.size()); ++i) {
        const int ly = top + (i - topLine_) * lineHeight;
        if (ly > y() + h())
            break;
        const Line& line = lines[static_cast<std::size_t>(i)];
        fl_draw(text_.data() + line.begin, static_cast<int>(line.end - line.begin), LineX(line),
                ly + fl_height() - fl_descent());
    }
    if (Focused()) {
        const int row = LineOf(lines, caret_);
        const Line& line = lines[static_cast<std::size_t>(row)];
        const int cx = LineX(line) + static_cast<int>(Width(text_, line.begin, caret_));
        const int cy = top + (row - topLine_) * lineHeight;
        fl_color(FL_FOREGROUND_COLOR);
        fl_line(cx, cy + 1, cx, cy + lineHeight - 2);
    }
    fl_pop_clip();
    if (scrollbar_)
        draw_child(*scrollbar_);
}

}  // namespace ui::fltk
