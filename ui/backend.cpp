// The backend chosen at start-up.
#include "ui/backend.h"

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

}  // namespace ui
