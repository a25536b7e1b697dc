// The installed media remote.
#include "platform/remote_bus.h"

namespace platform {
namespace {
RemoteBus* g_installed = nullptr;
}  // namespace

void InstallRemoteBus(RemoteBus* bus) {
    g_installed = bus;
}

RemoteBus* InstalledRemoteBus() {
    return g_installed;
}

}  // namespace platform
