// The Windows program's entry point: resources, the Win32 backend and the system services (the
// player on a waveOut stream, its timer thread, the shell), then the application's start-up
// routine, which runs the main dialog.
#include "app/metronome_app.h"
#include "platform/services.h"
#include "platform/win32/system_services.h"
#include "res/resources.h"
#include "ui/win32/native.h"
#include "ui/win32/win32_backend.h"
#include "ui/win_app.h"

int main() {
    ui::SetProgramPath(CString(ui::win32::native::ModulePath()).ToUtf8().c_str());
    ui::win32::native::InitCommonControls();
    ui::InstallResources(res::Table());
    ui::win32::Win32Backend backend;
    platform::win32::SystemServices services;
    platform::Install(services.Get());
    theApp.InitInstance();
    platform::Install({});  // no platform call may reach the services once they are gone
    return 0;
}
