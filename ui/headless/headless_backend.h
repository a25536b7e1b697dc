// A backend without a screen: windows live only in memory, and tests act as the user through a
// Driver. Each modal loop runs the next script that the test queued; message boxes are recorded
// and answered.
//  [x] Every control kind and the keyboard, driven through the framework's own entry points
//  [x] Modal loops (nested), posted messages and pending paints run as a real loop runs them
//  [x] Message boxes: recorded with their owner, answered by the test
//  [x] Clipboard and X selection, in memory
//  [ ] Drawing, fonts, pixel sizes: nothing is shown
//  [ ] The end requests of the operating system (a logout, Ctrl+C)
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ui/backend.h"
#include "ui/headless/driver.h"

namespace ui::headless {

struct MessageBoxRecord {
    CString text;
    CString caption;
    UINT type;
    CString ownerCaption;  // empty without an owner
};

class HeadlessBackend : public Backend {
  public:
    HeadlessBackend() { InstallBackend(this); }
    ~HeadlessBackend() override { InstallBackend(nullptr); }
    HeadlessBackend(const HeadlessBackend&) = delete;
    HeadlessBackend& operator=(const HeadlessBackend&) = delete;

    // Queues what the user does in the next dialog that opens (nested dialogs take the next one).
    void OnNextDialog(std::function<void(Driver&)> script) {
        scripts_.push_back(std::move(script));
    }
    // Queues a script ahead of those already queued.
    void OnFirstDialog(std::function<void(Driver&)> script) {
        scripts_.push_front(std::move(script));
    }
    // Answers message boxes; by default every box is answered with its OK button.
    void AnswerMessageBoxes(std::function<int(const MessageBoxRecord&)> answer) {
        answer_ = std::move(answer);
    }

    const std::vector<MessageBoxRecord>& MessageBoxes() const { return messageBoxes_; }
    // Template ids of the dialogs that were shown, in order.
    const std::vector<UINT>& DialogsShown() const { return dialogsShown_; }
    // Problems found while running scripts (a dialog with no script, one left open).
    const std::vector<std::string>& Problems() const { return problems_; }

    std::unique_ptr<WindowView> CreateView(DialogWindow& window) override;
    void RunModalLoop(DialogWindow& window) override;
    int MessageBox(DialogWindow* owner, const CString& text, const CString& caption,
                   UINT type) override;
    int IconSize() const override { return iconSize_; }
    // The clipboard and the X selection as the program left them, or as another program would.
    const CString& Clipboard() const { return clipboard_; }
    const CString& PrimarySelection() const { return primary_; }
    void SetClipboard(const CString& text) { clipboard_ = text; }
    void SetPrimarySelection(const CString& text) { primary_ = text; }
    void SetIconSize(int size) { iconSize_ = size; }

  private:
    std::deque<std::function<void(Driver&)>> scripts_;
    std::function<int(const MessageBoxRecord&)> answer_;
    std::vector<MessageBoxRecord> messageBoxes_;
    std::vector<UINT> dialogsShown_;
    std::vector<std::string> problems_;
    int iconSize_ = 32;
};

}  // namespace ui::headless
