// Remembers the documents it was asked to open.
#include "platform/doubles/fake_platform.h"

namespace platform::doubles {

HINSTANCE RecordingShell::Execute(HWND, LPCWSTR, LPCWSTR file, LPCWSTR, LPCWSTR, int) {
    opened.emplace_back(file ? file : u"");
    // Values above 32 mean success for the real call.
    return reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(fail ? 2 : 42));
}

}  // namespace platform::doubles
