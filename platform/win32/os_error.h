// Windows error codes as the errno-style numbers that CFileException's causes are keyed on, so
// that the file layer reports the same causes on every platform.
#pragma once

namespace platform::win32 {

int ErrnoFromWindowsError(unsigned long error);
// The calling thread's last Windows error, as an errno-style number.
int LastErrno();

}  // namespace platform::win32
