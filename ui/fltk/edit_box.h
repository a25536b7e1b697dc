// An edit control: one line, or several lines wrapped at word boundaries and drawn left or
// centred, with the selection and the caret of the model control. Editing, the selection's
// rules, undo and the clipboard's contents are the model's; this widget lays the text out, maps
// the mouse onto it, and brings in what the desktop pastes.
#pragma once

#include <FL/Fl_Group.H>
#include <FL/Fl_Scrollbar.H>

#include <array>
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/edit_control.h"
#include "ui/fltk/control_widget.h"

namespace ui::fltk {

class EditBox : public Fl_Group, public KindWidget<EditControl> {
  public:
    EditBox(DialogView& view, EditControl& control, int x, int y, int w, int h);
    Fl_Widget& Widget() override { return *this; }
    void Sync() override;
    bool EditKey(int key, int state) override;

  protected:
    void draw() override;
    int handle(int event) override;

  private:
    struct Line {
        std::size_t begin, end;  // byte offsets into text_, end excludes the line break
    };
    // The lines as wrapped at the box's width, kept until the text or the width changes: a long
    // text is laid out once, not on every key and every redraw.
    const std::vector<Line>& Layout() const;
    // The advance of the character at byte offset `at` in the box's font.
    double CharWidth(std::size_t at) const;
    int LineOf(const std::vector<Line>& lines, std::size_t offset) const;
    int LineX(const Line& line) const;
    std::size_t OffsetAt(int mx, int my) const;
    // Between the model's UTF-16 offsets and byte offsets into text_.
    std::size_t ScreenOffset(int modelOffset) const;
    int ModelOffset(std::size_t screenOffset) const { return modelAt_[screenOffset]; }
    bool LineKey(int key, bool extend);
    void OpenMenu(int x, int y);
    void ScrollToCaret();
    void SyncScrollbar();
    // The sunken frame's width, and the room between the frame's outside and the text.
    static int Frame();
    static int Margin();
    int TextLeft() const { return x() + Margin(); }
    int TextWidth() const;
    int LineHeight() const;
    int VisibleLines() const;
    static void Scrolled(Fl_Widget* widget, void*);

    std::u16string shown_;      // the model text that text_ shows
    std::string text_;          // UTF-8 with "\n" breaks
    std::vector<int> modelAt_;  // the model offset of each byte of text_, and of its end
    mutable std::vector<Line> lines_;
    mutable int linesWidth_ = -1;  // the text width lines_ was laid out for; -1: not laid out
    mutable std::array<double, 128> asciiWidths_;  // -1: not measured yet
    mutable std::unordered_map<unsigned, double> charWidths_;
    int topLine_ = 0;
    int shift_ = 0;  // horizontal scroll of a single line, pixels
    bool dragging_ = false;
    Fl_Scrollbar* scrollbar_ = nullptr;
};

}  // namespace ui::fltk
