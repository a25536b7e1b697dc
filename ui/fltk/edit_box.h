// An edit control: one line, or several lines wrapped at word boundaries and drawn left or
// centred, with a caret. Every change goes to Control::UserSetText; a refused change leaves the
// text as it was.
#pragma once

#include <FL/Fl_Group.H>
#include <FL/Fl_Scrollbar.H>

#include <string>
#include <vector>

#include "ui/fltk/control_widget.h"

namespace ui::fltk {

class EditBox : public Fl_Group, public ControlWidget {
  public:
    EditBox(DialogView& view, Control& control, int x, int y, int w, int h);
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
    std::vector<Line> Layout() const;
    int LineOf(const std::vector<Line>& lines, std::size_t offset) const;
    int LineX(const Line& line) const;
    std::size_t OffsetAt(int mx, int my) const;
    void Replace(std::size_t from, std::size_t to, const std::string& with);
    void ScrollToCaret();
    void SyncScrollbar();
    int TextLeft() const { return x() + 3; }
    int TextWidth() const;
    int LineHeight() const;
    int VisibleLines() const;
    static void Scrolled(Fl_Widget* widget, void*);

    std::string text_;  // UTF-8 with "\n" breaks
    std::size_t caret_ = 0;
    int topLine_ = 0;
    int shift_ = 0;  // horizontal scroll of a single line, pixels
    Fl_Scrollbar* scrollbar_ = nullptr;
};

}  // namespace ui::fltk
