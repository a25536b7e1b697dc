// Runs each modal loop by handing the dialog to the test's next script.
#include "ui/headless/headless_backend.h"

#include "ui/window.h"

namespace ui::headless {
namespace {

class HeadlessView : public WindowView {
  public:
    explicit HeadlessView(DialogWindow& window) : window_(window) {}
    void Show(bool) override {}
    void Update(int) override {}
    RECT ClientRect() const override {
        // Dialog units at the base units of an 8-point font: 2 pixels across, 2 down per unit.
        const auto& t = window_.Template();
        return RECT{0, 0, t.cx * 2, t.cy * 2};
    }

  private:
    DialogWindow& window_;
};

}  // namespace

std::unique_ptr<WindowView> HeadlessBackend::CreateView(DialogWindow& window) {
    return std::make_unique<HeadlessView>(window);
}

void HeadlessBackend::RunModalLoop(DialogWindow& window) {
    dialogsShown_.push_back(window.Template().id);
    Driver driver(window);
    driver.Idle();
    if (scripts_.empty()) {
        problems_.push_back("dialog " + std::to_string(window.Template().id) +
                            " opened without a script");
        window.EndModal(IDCANCEL);
        return;
    }
    auto script = std::move(scripts_.front());
    scripts_.pop_front();
    script(driver);
    driver.Idle();
    if (!window.ModalEnded()) {
        problems_.push_back("dialog " + std::to_string(window.Template().id) +
                            " still open after its script");
        window.EndModal(IDCANCEL);
    }
}

int HeadlessBackend::MessageBox(DialogWindow* owner, const CString& text, const CString& caption,
                                UINT type) {
    MessageBoxRecord record{text, caption, type, owner ? owner->Text() : CString()};
    messageBoxes_.push_back(record);
    return answer_ ? answer_(record) : IDOK;
}

}  // namespace ui::headless
