// How fast the comments box shows a long text and answers keys: the main dialog's template on the
// FLTK backend, its comments set to texts of growing length, then keys sent through the dialog's
// own key path (typing, which the limit refuses past 32,767 characters, Backspace, the arrows).
// Each time runs to the end of the repaint, X server included. Needs a display.
#include <FL/Fl.H>
#include <FL/x.H>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "res/resources.h"
#include "ui/dialog.h"
#include "ui/fltk/dialog_view.h"
#include "ui/fltk/fltk_backend.h"
#include "ui/window.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Comments as people write them: words and a line break every few dozen characters; or one
// unbroken word, which is wrapped at every line's last character.
std::u16string Comment(std::size_t length, bool words) {
    const std::u16string line = u"Verse two: slower, then back to tempo at the chorus\r\n";
    std::u16string text;
    text.reserve(length);
    while (text.size() < length)
        text += words ? line : std::u16string(line.size(), u'x');
    text.resize(length);
    if (text.back() == u'\r')
        text.back() = u'.';
    return text;
}

struct Keys {
    const char* name;
    int key;
    const char* text;
};

class Bench : public CDialog {
  public:
    Bench() : CDialog(IDD_METRONOME_DIALOG) {}

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        Fl::add_timeout(
            0.2, [](void* self) { static_cast<Bench*>(self)->Run(); }, this);
        return TRUE;
    }

  private:
    void Repainted() {
        view_->AfterInput();
        Fl::flush();
        XSync(fl_display, False);
    }

    void Run() {
        ui::DialogWindow& window = *DialogWindow();
        view_ = dynamic_cast<ui::fltk::DialogView*>(window.View());
        CWnd* edit = GetDlgItem(IDC_COMMENTS);
        auto* control = dynamic_cast<ui::Control*>(edit->Window());
        const Keys keys[] = {{"type a letter", 'a', "a"},
                             {"Backspace", FL_BackSpace, ""},
                             {"Left", FL_Left, ""},
                             {"Down", FL_Down, ""}};
        std::printf("%-10s %-6s %10s", "characters", "text", "show ms");
        for (const Keys& k : keys)
            std::printf(" %16s", k.name);
        std::printf("   (keys: median / worst of 20, ms)\n");
        for (const std::size_t length : {30000u, 200000u, 1000000u, 5000000u}) {
            for (const bool words : {true, false}) {
                const std::u16string text = Comment(length, words);
                edit->SetWindowText(u"");
                Repainted();
                const auto start = Clock::now();
                edit->SetWindowText(text.c_str());
                Repainted();
                std::printf("%-10zu %-6s %10.1f", length, words ? "words" : "one", MsSince(start));
                window.SetFocus(control);
                Repainted();
                for (const Keys& k : keys) {
                    std::vector<double> times;
                    for (int i = 0; i < 20; ++i) {
                        static char typed[2];
                        std::snprintf(typed, sizeof typed, "%s", k.text);
                        Fl::e_text = typed;
                        Fl::e_length = static_cast<int>(std::string(k.text).size());
                        Fl::e_keysym = k.key;
                        const auto keyStart = Clock::now();
                        view_->Key(k.key, 0);
                        Repainted();
                        times.push_back(MsSince(keyStart));
                    }
                    std::sort(times.begin(), times.end());
                    std::printf("   %6.1f / %6.1f", times[times.size() / 2], times.back());
                }
                std::printf("\n");
                std::fflush(stdout);
            }
        }
        EndDialog(IDOK);
    }

    ui::fltk::DialogView* view_ = nullptr;
};

}  // namespace

int main() {
    if (!ui::fltk::FltkBackend::OpenDisplay(std::chrono::seconds(10),
                                            [](const char*) { std::_Exit(2); })) {
        std::fputs("comment-bench: needs a display (try xvfb-run)\n", stderr);
        return 2;
    }
    ui::InstallResources(res::Table());
    ui::fltk::FltkBackend backend;
    Bench bench;
    bench.DoModal();
    return 0;
}
