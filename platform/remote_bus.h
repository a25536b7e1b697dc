// The desktop's media remote as the program sees it: what it shows of the player, and the commands
// it sends (play, pause, stop, next, previous). The backend (on Linux, MPRIS on the session bus)
// carries them; everything here runs on the GUI thread.
#pragma once

#include <string>

namespace platform {

enum class RemoteCommand { playPause, play, pause, stop, next, previous };

// What the remote shows. Texts are UTF-8.
struct RemoteState {
    bool playing = false;
    std::string title;      // the tempo as the window names it: "100 Andante"
    std::string signature;  // "3/4"
    bool canGoNext = false;
    bool canGoPrevious = false;
    bool operator==(const RemoteState&) const = default;
};

class RemoteListener {
  public:
    virtual void OnRemoteCommand(RemoteCommand command) = 0;
    // Called before the backend answers a question about the state, so that the answer is current
    // even for changes the program made no note of (a bank file saved by another copy).
    virtual void OnRemoteQuery() = 0;

  protected:
    ~RemoteListener() = default;
};

class RemoteBus {
  public:
    virtual ~RemoteBus() = default;
    // The listener receives every command from now on; nullptr stops them.
    virtual void Listen(RemoteListener* listener) = 0;
    // Announces the state; the backend tells its listeners only what changed.
    virtual void Publish(const RemoteState& state) = 0;
};

// The remote that the main dialog attaches to; none (nullptr) unless a backend installed one.
void InstallRemoteBus(RemoteBus* bus);
RemoteBus* InstalledRemoteBus();

}  // namespace platform
