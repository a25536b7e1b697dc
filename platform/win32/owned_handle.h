// A Windows handle closed when its holder goes, for the file layer's replace and in-place writes.
#pragma once

#include <windows.h>

namespace platform::win32 {

class OwnedHandle {
  public:
    explicit OwnedHandle(HANDLE h) : h_(h) {}
    ~OwnedHandle() { Close(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return h_; }
    void Close() {
        if (Valid())
            CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

  private:
    HANDLE h_;
};

}  // namespace platform::win32
