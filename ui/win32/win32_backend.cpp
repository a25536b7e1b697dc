// The Windows backend's modal loop and message boxes.
#include "ui/win32/win32_backend.h"

#include "ui/win32/dialog_view.h"
#include "ui/win32/native.h"

namespace ui::win32 {

Win32Backend::Win32Backend() {
    InstallBackend(this);
}

Win32Backend::~Win32Backend() {
    InstallBackend(nullptr);
}

std::unique_ptr<WindowView> Win32Backend::CreateView(DialogWindow& window) {
    return std::make_unique<DialogView>(window);
}

void Win32Backend::RunModalLoop(DialogWindow& window) {
    auto* view = dynamic_cast<DialogView*>(window.View());
    if (!view || !view->Handle()) {
        window.EndModal(IDCANCEL);
        return;
    }
    while (!window.ModalEnded()) {
        // Idle work first, as the framework asks: posted messages, then pending paints.
        DispatchPostedMessages();
        if (window.ModalEnded())
            break;
        window.PaintPending();
        if (window.ModalEnded())
            break;
        if (!native::PumpOne(view->Handle())) {
            window.EndModal(IDCANCEL);
            break;
        }
        view->FollowNativeFocus();
    }
    DispatchPostedMessages();
}

int Win32Backend::MessageBox(DialogWindow* owner, const CString& text, const CString& caption,
                             UINT type) {
    auto* view = owner ? dynamic_cast<DialogView*>(owner->View()) : nullptr;
    return native::ShowMessageBox(view ? view->Handle() : nullptr, text.Str(), caption.Str(), type);
}

int Win32Backend::IconSize() const {
    return native::LargeIconSize();
}

}  // namespace ui::win32
