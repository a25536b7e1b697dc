// Opening an address with the desktop's default handler: xdg-open, started detached and silent.
#pragma once

#include <string>

#include "platform/services.h"

namespace platform::linux_backend {

class XdgShell : public Shell {
  public:
    // program: the opener to run (xdg-open, or a stand-in in tests).
    explicit XdgShell(std::string program = "xdg-open") : program_(std::move(program)) {}

    // No verb or "open": returns 42 once the opener has started, 2 when it could not start,
    // 31 for any other verb.
    HINSTANCE Execute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                      int show) override;

  private:
    std::string program_;
};

// UTF-16 to UTF-8 (unpaired surrogates become U+FFFD).
std::string ToUtf8(LPCWSTR text);

}  // namespace platform::linux_backend
