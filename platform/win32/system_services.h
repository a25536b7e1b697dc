// The services of the Windows program: the Windows-named calls forwarded to the system's own.
#pragma once

namespace platform::win32 {

// Installs them (see platform::Install); call once at start-up on the GUI thread.
void InstallSystemServices();

}  // namespace platform::win32
