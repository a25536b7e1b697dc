// One framework dialog shown as a real Win32 dialog. The framework's state is the truth: each
// change it reports is copied onto the controls, and what the user does to a control is handed
// to the framework as the same user action, then the control is set back from the framework.
#pragma once

#include <vector>

#include "ui/backend.h"
#include "ui/win32/native.h"
#include "ui/window.h"

namespace ui::win32 {

class DialogView : public WindowView, private native::DialogEvents {
  public:
    explicit DialogView(DialogWindow& window);
    ~DialogView() override;
    DialogView(const DialogView&) = delete;
    DialogView& operator=(const DialogView&) = delete;

    void Show(bool visible) override;
    void Update(int index) override;
    RECT ClientRect() const override;

    native::Handle Handle() const { return hwnd_; }
    // Takes the system's keyboard focus into the framework after a message.
    void FollowNativeFocus();

  private:
    // What was last written to a control, so that only changes are written.
    struct Mirrored {
        bool written = false;
        CString text;
        int check = -1;
        std::vector<CString> rows;
        int curSel = -2;
        int rangeMin = 0, rangeMax = -1, pos = -1;
        int limit = -1;
        bool visible = true, enabled = true;
    };

    void MirrorControl(int index);
    void MirrorDialog();
    void MirrorFocus();
    Control* ControlOf(native::Handle handle) const;
    native::Handle IconOf(HICON icon, bool big) const;

    // native::DialogEvents
    void Command(int id, unsigned code, native::Handle control) override;
    void Scrolled(native::Handle control) override;
    bool SystemCommand(unsigned id) override;
    void Help() override;
    void Minimised(bool iconic) override;
    native::Handle PaintIconic(int& x, int& y) override;
    native::Handle DragIcon() override;
    bool KeyDown(native::Handle target, unsigned vk) override;

    DialogWindow& window_;
    native::Handle hwnd_ = nullptr;
    native::Handle owner_ = nullptr;
    std::vector<native::Handle> controls_;
    std::vector<Mirrored> mirrored_;
    std::size_t systemMenuItems_ = 0;  // items of the framework's menu that the native one has
    HICON bigIcon_ = nullptr, smallIcon_ = nullptr;
    bool iconic_ = false, enabled_ = true;
    int writing_ = 0;  // while above zero, what the controls report is our own writing
};

}  // namespace ui::win32
