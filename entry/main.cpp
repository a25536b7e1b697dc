// The program's entry point: resources, the desktop backend and the platform services, then the
// application's start-up routine, which runs the main dialog until it ends.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/metronome_app.h"
#include "platform/linux/linux_services.h"
#include "platform/linux/mpris_bus.h"
#include "platform/remote_bus.h"
#include "platform/services.h"
#include "platform/termination.h"
#include "res/resources.h"
#include "ui/atk/atk_bridge.h"
#include "ui/fltk/fltk_backend.h"
#include "ui/win_app.h"

namespace {

// A display that takes the connection and never answers would hold the start for good.
[[noreturn]] void DisplayGivesNoAnswer(const char* displayName) {
    std::fprintf(stderr, "metronome: the display %s does not answer\n", displayName);
    std::fflush(stderr);
    std::_Exit(1);
}

}  // namespace

int main(int /*argc*/, char** argv) {
    ui::SetProgramPath(argv[0]);
    if (!ui::fltk::FltkBackend::OpenDisplay(std::chrono::seconds(10), DisplayGivesNoAnswer)) {
        std::fputs("metronome: needs a desktop: no display could be opened (is DISPLAY set?)\n",
                   stderr);
        return 1;
    }
    ui::InstallResources(res::Table());
    ui::fltk::FltkBackend backend;
    // Screen readers: the dialogs on the desktop's accessibility bus, where there is one.
    ui::atk::AtSpiBridge accessibility;
    // A logout or Ctrl+C ends the program as Escape does, with status 0.
    ui::fltk::FltkBackend::EndLoopsWhen(platform::TerminationRequested,
                                        platform::CatchTerminationSignals());
    platform::linux_backend::LinuxServices services;
    platform::Install(services.Get());
    // The desktop's media remote (MPRIS), in FLTK's loop; without a session bus it stays silent.
    platform::linux_backend::MprisBus remote(
        {"VorlaMetronome", "Vorla Metronome", "example.vorla.Metronome"});
    remote.OnInterestChange([&remote](platform::linux_backend::MprisBus::Interest interest) {
        ui::fltk::FltkBackend::WatchFd(
            remote.Fd(), interest.read, interest.write,
            [](int, void* bus) { static_cast<platform::linux_backend::MprisBus*>(bus)->Process(); },
            &remote);
    });
    platform::InstallRemoteBus(&remote);
    // A change of the volume in the desktop's mixer moves the slider.
    ui::fltk::FltkBackend::WatchFd(
        services.VolumeNoticeFd(), true, false,
        [](int, void* s) {
            static_cast<platform::linux_backend::LinuxServices*>(s)->DeliverVolumeNotice();
        },
        &services);
    theApp.InitInstance();
    platform::InstallRemoteBus(nullptr);
    platform::Install({});  // no platform call may reach the services once they are gone
    return 0;
}
