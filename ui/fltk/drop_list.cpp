// The drop list grabs all input while open: a click outside or Escape dismisses it, a click on a
// row or Enter chooses.
#include "ui/fltk/drop_list.h"

#include <FL/Fl.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Menu_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "ui/fltk/fltk_backend.h"

namespace ui::fltk {
namespace {

class DropWindow : public Fl_Menu_Window {
  public:
    DropWindow(int x, int y, int w, int h, const std::vector<std::string>& rows, int current,
               const DialogFont& font)
        : Fl_Menu_Window(x, y, w, h) {
        set_override();
        box(FL_BORDER_BOX);
        browser_ = new Fl_Hold_Browser(1, 1, w - 2, h - 2);
        browser_->box(FL_FLAT_BOX);
        browser_->textfont(font.face);
        browser_->textsize(font.size);
        browser_->has_scrollbar(Fl_Browser_::VERTICAL);
        browser_->format_char(0);  // rows are shown as they are, no "@" formatting
        for (const std::string& row : rows)
            browser_->add(row.c_str());
        if (current >= 0) {
            browser_->value(current + 1);
            browser_->middleline(current + 1);
        }
        end();
    }

    bool Done() const { return done_; }
    int Chosen() const { return chosen_; }

    int handle(int event) override {
        switch (event) {
            case FL_PUSH:
                if (!Fl::event_inside(0, 0, w(), h())) {
                    done_ = true;
                    return 1;
                }
                onRows_ = Fl::event_x() < browser_->x() + browser_->w() - Fl::scrollbar_size();
                return Fl_Menu_Window::handle(event);
            case FL_RELEASE: {
                const int handled = Fl_Menu_Window::handle(event);
                if (onRows_ && Fl::event_inside(browser_) && browser_->value() > 0)
                    Choose(browser_->value() - 1);
                onRows_ = false;
                return handled;
            }
            case FL_KEYBOARD:
            case FL_SHORTCUT:
                return Key(Fl::event_key());
            case FL_MOUSEWHEEL: {
                // Scrolls the rows, wherever the pointer is; the choice stays.
                const int last = std::max(1, browser_->size());
                browser_->topline(std::clamp(browser_->topline() + Fl::event_dy(), 1, last));
                return 1;
            }
            default:
                return Fl_Menu_Window::handle(event);
        }
    }

  private:
    int Key(int key) {
        const int count = browser_->size();
        int row = browser_->value();
        switch (key) {
            case FL_Escape:
            case FL_F + 4:
                done_ = true;
                return 1;
            case FL_Enter:
            case FL_KP_Enter:
                if (row > 0)
                    Choose(row - 1);
                else
                    done_ = true;
                return 1;
            case FL_Up:
                row = std::max(1, row - 1);
                break;
            case FL_Down:
                row = std::min(count, row + 1);
                break;
            case FL_Page_Up:
                row = std::max(1, row - 8);
                break;
            case FL_Page_Down:
                row = std::min(count, row + 8);
                break;
            case FL_Home:
                row = 1;
                break;
            case FL_End:
                row = count;
                break;
            default: {
                // A typed character goes to the next row that begins with it.
                const char* typed = Fl::event_text();
                if (Fl::event_length() == 0 || static_cast<unsigned char>(typed[0]) <= 0x20)
                    return 1;  // the list owns the keyboard while open
                const auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
                for (int k = 1; k <= count; ++k) {
                    const int candidate = (std::max(row, 1) - 1 + k) % count + 1;
                    const char* text = browser_->text(candidate);
                    if (text && fold(text[0]) == fold(typed[0])) {
                        row = candidate;
                        break;
                    }
                }
                break;
            }
        }
        if (count > 0) {
            browser_->value(row);
            browser_->make_visible(row);
        }
        return 1;
    }

    void Choose(int row) {
        chosen_ = row;
        done_ = true;
    }

    Fl_Hold_Browser* browser_;
    bool done_ = false;
    bool onRows_ = false;
    int chosen_ = -1;
};

}  // namespace

int ChooseFromDropList(Fl_Widget& anchor, const std::vector<std::string>& rows, int current,
                       int maxHeight, const DialogFont& font) {
    Fl_Window* top = anchor.top_window();
    if (!top || rows.empty())
        return -1;
    fl_font(font.face, font.size);
    const int rowHeight = fl_height() + 2;
    int height =
        std::max(rowHeight + 2, std::min(maxHeight, static_cast<int>(rows.size()) * rowHeight + 4));
    int sx = 0, sy = 0, sw = 0, sh = 0;
    Fl::screen_work_area(sx, sy, sw, sh, top->x() + anchor.x(), top->y() + anchor.y());
    const int x = top->x() + anchor.x();
    const int anchorTop = top->y() + anchor.y();
    const int anchorBottom = anchorTop + anchor.h();
    // Below the box when it fits; otherwise on the side with more room, shortened to it.
    const int roomBelow = sy + sh - anchorBottom;
    const int roomAbove = anchorTop - sy;
    int y = anchorBottom;
    if (height > roomBelow && roomAbove > roomBelow) {
        height = std::min(height, roomAbove);
        y = anchorTop - height;
    } else {
        height = std::min(height, roomBelow);
    }

    DropWindow window(x, y, anchor.w(), height, rows, current, font);
    window.show();
    Fl::grab(&window);
    while (!window.Done() && window.shown() && !FltkBackend::EndRequested())
        Fl::wait();
    Fl::grab(nullptr);
    window.hide();
    return window.Chosen();
}

}  // namespace ui::fltk
