// The media remote on Linux: an MPRIS player (org.mpris.MediaPlayer2) on the session bus, through
// sd-bus. It runs on the GUI thread: the caller watches Fd() in its loop as Watching() asks and
// calls Process() when it is ready; nothing here blocks.
//  [x] PlayPause, Play, Pause, Stop, Next, Previous; PlaybackStatus Playing or Stopped
//  [x] Metadata: the tempo as the title, the signature as the artist; CanGoNext, CanGoPrevious
//  [x] PropertiesChanged for every change; a second copy takes an ".instance<pid>" name
//  [ ] Seek, SetPosition, OpenUri, Raise, Quit, a volume of its own, a track list
//  [ ] Reconnecting to a session bus that went away: the remote is then gone for this run
#pragma once

#include <functional>
#include <string>

#include "platform/remote_bus.h"

struct sd_bus;
struct sd_bus_slot;

namespace platform::linux_backend {

struct MprisIdentity {
    std::string busName;       // "VorlaMetronome": org.mpris.MediaPlayer2.VorlaMetronome
    std::string identity;      // the name the desktop shows
    std::string desktopEntry;  // the desktop file's name without ".desktop"
};

class MprisBus final : public RemoteBus {
  public:
    // Connects to the session bus without waiting; without one (or if it fails later) the remote
    // is silently absent: Fd() is -1 and nothing is printed.
    explicit MprisBus(MprisIdentity identity);
    ~MprisBus() override;
    MprisBus(const MprisBus&) = delete;
    MprisBus& operator=(const MprisBus&) = delete;

    void Listen(RemoteListener* listener) override { listener_ = listener; }
    void Publish(const RemoteState& state) override;

    // The connection's descriptor; -1 without one.
    int Fd() const;
    // What to wait for on Fd(). `onChange` is called whenever that changes (with false, false
    // while Process() runs: a command's handler may run a loop of its own, which must not come
    // back in here).
    struct Interest {
        bool read = false;
        bool write = false;
    };
    void OnInterestChange(std::function<void(Interest)> onChange);
    // Reads, dispatches and writes what can be done now.
    void Process();
    // The well-known name it holds, empty until the bus has granted one.
    const std::string& OwnedName() const { return ownedName_; }

  private:
    void RequestName(const std::string& name, bool fallBackToInstance);
    void Close();
    void UpdateInterest();
    friend struct MprisCallbacks;

    MprisIdentity identity_;
    sd_bus* bus_ = nullptr;
    sd_bus_slot* rootSlot_ = nullptr;
    sd_bus_slot* playerSlot_ = nullptr;
    sd_bus_slot* nameSlot_ = nullptr;
    RemoteListener* listener_ = nullptr;
    RemoteState state_;
    std::string ownedName_;
    std::string requestedName_;
    bool nameFallsBack_ = false;  // a refused name is asked again with an instance suffix
    bool processing_ = false;
    Interest interest_;
    std::function<void(Interest)> onInterestChange_;
};

}  // namespace platform::linux_backend
