// The services of the Windows program: the Windows-named calls forwarded to the system's own.
//  [x] Timers (timeSetEvent and friends), PlaySoundA, waveOut volume, ShellExecuteW
//  [x] The file layer (platform/win32/file.cpp): exclusive open, safe replace
//  [ ] Frame-exact placement of the clicks: the system's PlaySoundA plays each at once
#pragma once

namespace platform::win32 {

// Installs them (see platform::Install); call once at start-up on the GUI thread.
void InstallSystemServices();

}  // namespace platform::win32
