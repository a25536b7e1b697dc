// The backend chosen at start-up, and the clipboard of a backend without a desktop.
#include "ui/backend.h"

#include "ui/edit_control.h"

namespace ui {
namespace {
Backend* g_backend = nullptr;
}

void InstallBackend(Backend* backend) {
    g_backend = backend;
}
Backend* CurrentBackend() {
    return g_backend;
}

void Backend::CopyText(const CString& text, bool primary) {
    (primary ? primary_ : clipboard_) = text;
}

void Backend::PasteInto(EditControl& into, bool primary) {
    const CString& text = primary ? primary_ : clipboard_;
    if (!text.IsEmpty())
        into.UserPaste(text);
}

}  // namespace ui
