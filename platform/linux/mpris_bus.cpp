// The MPRIS player on the session bus through sd-bus, driven by the GUI thread's loop.
#include "platform/linux/mpris_bus.h"

#include <poll.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

namespace platform::linux_backend {
namespace {

constexpr const char* kPath = "/org/mpris/MediaPlayer2";
constexpr const char* kRootInterface = "org.mpris.MediaPlayer2";
constexpr const char* kPlayerInterface = "org.mpris.MediaPlayer2.Player";
constexpr const char* kBusNamePrefix = "org.mpris.MediaPlayer2.";
// One tempo at a time: the track never changes, only what it shows.
constexpr const char* kTrackId = "/example/vorla/Metronome/Tempo";

// RequestName's answers (D-Bus specification).
constexpr unsigned kPrimaryOwner = 1;
constexpr unsigned kAlreadyOwner = 4;

}  // namespace

// The vtables' callbacks, with access to the bus object.
struct MprisCallbacks {
    static MprisBus& Self(void* userdata) { return *static_cast<MprisBus*>(userdata); }

    static int NameReply(sd_bus_message* reply, void* userdata, sd_bus_error*) {
        MprisBus& self = Self(userdata);
        unsigned answer = 0;
        if (!sd_bus_message_is_method_error(reply, nullptr) &&
            sd_bus_message_read(reply, "u", &answer) >= 0 &&
            (answer == kPrimaryOwner || answer == kAlreadyOwner)) {
            self.ownedName_ = self.requestedName_;
            return 0;
        }
        // Another copy runs: this one is told apart by its process id, as MPRIS players are.
        if (self.nameFallsBack_)
            self.RequestName(self.requestedName_ + ".instance" + std::to_string(getpid()), false);
        return 0;
    }

    // One handler per method, each telling the listener its command.
    template <RemoteCommand command>
    static int Command(sd_bus_message* call, void* userdata, sd_bus_error*) {
        MprisBus& self = Self(userdata);
        if (self.listener_)
            self.listener_->OnRemoteCommand(command);
        return sd_bus_reply_method_return(call, nullptr);
    }
    // Raise, Quit, Seek and SetPosition: the Can... properties say they have no effect.
    static int NoEffect(sd_bus_message* m, void*, sd_bus_error*) {
        return sd_bus_reply_method_return(m, nullptr);
    }
    static int OpenUri(sd_bus_message*, void*, sd_bus_error* error) {
        return sd_bus_error_set(error, SD_BUS_ERROR_NOT_SUPPORTED, "The metronome opens no files");
    }

    static int False(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                     sd_bus_error*) {
        return sd_bus_message_append(reply, "b", 0);
    }
    static int True(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                    sd_bus_error*) {
        return sd_bus_message_append(reply, "b", 1);
    }
    static int One(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                   sd_bus_error*) {
        return sd_bus_message_append(reply, "d", 1.0);
    }
    static int NoStrings(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                         void*, sd_bus_error*) {
        return sd_bus_message_append(reply, "as", 0);
    }
    static int Position(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                        void*, sd_bus_error*) {
        return sd_bus_message_append(reply, "x", static_cast<int64_t>(0));
    }
    static int Identity(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                        void* u, sd_bus_error*) {
        return sd_bus_message_append(reply, "s", Self(u).identity_.identity.c_str());
    }
    static int DesktopEntry(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                            void* u, sd_bus_error*) {
        return sd_bus_message_append(reply, "s", Self(u).identity_.desktopEntry.c_str());
    }
    static int PlaybackStatus(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                              void* u, sd_bus_error*) {
        return sd_bus_message_append(reply, "s", Self(u).state_.playing ? "Playing" : "Stopped");
    }
    static int Metadata(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                        void* u, sd_bus_error*) {
        const RemoteState& s = Self(u).state_;
        return sd_bus_message_append(reply, "a{sv}", 3, "mpris:trackid", "o", kTrackId,
                                     "xesam:title", "s", s.title.c_str(), "xesam:artist", "as", 1,
                                     s.signature.c_str());
    }
    static int CanGoNext(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                         void* u, sd_bus_error*) {
        return sd_bus_message_append(reply, "b", Self(u).state_.canGoNext ? 1 : 0);
    }
    static int CanGoPrevious(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                             void* u, sd_bus_error*) {
        return sd_bus_message_append(reply, "b", Self(u).state_.canGoPrevious ? 1 : 0);
    }
};

namespace {

using C = MprisCallbacks;
constexpr auto kConst = SD_BUS_VTABLE_PROPERTY_CONST;
constexpr auto kChanges = SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE;

const sd_bus_vtable kRootVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("Raise", "", "", C::NoEffect, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Quit", "", "", C::NoEffect, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_PROPERTY("CanQuit", "b", C::False, 0, kConst),
    SD_BUS_PROPERTY("CanRaise", "b", C::False, 0, kConst),
    SD_BUS_PROPERTY("HasTrackList", "b", C::False, 0, kConst),
    SD_BUS_PROPERTY("Identity", "s", C::Identity, 0, kConst),
    SD_BUS_PROPERTY("DesktopEntry", "s", C::DesktopEntry, 0, kConst),
    SD_BUS_PROPERTY("SupportedUriSchemes", "as", C::NoStrings, 0, kConst),
    SD_BUS_PROPERTY("SupportedMimeTypes", "as", C::NoStrings, 0, kConst),
    SD_BUS_VTABLE_END,
};

const sd_bus_vtable kPlayerVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("Next", "", "", C::Command<RemoteCommand::next>, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Previous", "", "", C::Command<RemoteCommand::previous>,
                  SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Pause", "", "", C::Command<RemoteCommand::pause>, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("PlayPause", "", "", C::Command<RemoteCommand::playPause>,
                  SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Stop", "", "", C::Command<RemoteCommand::stop>, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Play", "", "", C::Command<RemoteCommand::play>, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Seek", "x", "", C::NoEffect, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("SetPosition", "ox", "", C::NoEffect, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("OpenUri", "s", "", C::OpenUri, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_SIGNAL("Seeked", "x", 0),
    SD_BUS_PROPERTY("PlaybackStatus", "s", C::PlaybackStatus, 0, kChanges),
    SD_BUS_PROPERTY("Rate", "d", C::One, 0, kConst),
    SD_BUS_PROPERTY("Metadata", "a{sv}", C::Metadata, 0, kChanges),
    SD_BUS_PROPERTY("Volume", "d", C::One, 0, kConst),
    SD_BUS_PROPERTY("Position", "x", C::Position, 0, 0),
    SD_BUS_PROPERTY("MinimumRate", "d", C::One, 0, kConst),
    SD_BUS_PROPERTY("MaximumRate", "d", C::One, 0, kConst),
    SD_BUS_PROPERTY("CanGoNext", "b", C::CanGoNext, 0, kChanges),
    SD_BUS_PROPERTY("CanGoPrevious", "b", C::CanGoPrevious, 0, kChanges),
    SD_BUS_PROPERTY("CanPlay", "b", C::True, 0, kConst),
    SD_BUS_PROPERTY("CanPause", "b", C::True, 0, kConst),
    SD_BUS_PROPERTY("CanSeek", "b", C::False, 0, kConst),
    SD_BUS_PROPERTY("CanControl", "b", C::True, 0, kConst),
    SD_BUS_VTABLE_END,
};

}  // namespace

MprisBus::MprisBus(MprisIdentity identity) : identity_(std::move(identity)) {
    // Connecting does not wait for the bus: the handshake and the name follow in Process().
    if (sd_bus_open_user(&bus_) < 0) {
        bus_ = nullptr;
        return;
    }
    if (sd_bus_add_object_vtable(bus_, &rootSlot_, kPath, kRootInterface, kRootVtable, this) < 0 ||
        sd_bus_add_object_vtable(bus_, &playerSlot_, kPath, kPlayerInterface, kPlayerVtable, this) <
            0) {
        Close();
        return;
    }
    RequestName(kBusNamePrefix + identity_.busName, true);
}

MprisBus::~MprisBus() {
    Close();
}

int MprisBus::Fd() const {
    return bus_ ? sd_bus_get_fd(bus_) : -1;
}

void MprisBus::OnInterestChange(std::function<void(Interest)> onChange) {
    onInterestChange_ = std::move(onChange);
    interest_ = {};
    UpdateInterest();
}

void MprisBus::RequestName(const std::string& name, bool fallBackToInstance) {
    requestedName_ = name;
    nameFallsBack_ = fallBackToInstance;
    nameSlot_ = sd_bus_slot_unref(nameSlot_);
    // Without queueing: a name another copy holds is refused at once.
    sd_bus_request_name_async(bus_, &nameSlot_, name.c_str(), 0, MprisCallbacks::NameReply, this);
}

void MprisBus::Publish(const RemoteState& state) {
    std::vector<const char*> player;
    if (state.playing != state_.playing)
        player.push_back("PlaybackStatus");
    if (state.title != state_.title || state.signature != state_.signature)
        player.push_back("Metadata");
    if (state.canGoNext != state_.canGoNext)
        player.push_back("CanGoNext");
    if (state.canGoPrevious != state_.canGoPrevious)
        player.push_back("CanGoPrevious");
    state_ = state;
    if (!bus_ || player.empty())
        return;
    player.push_back(nullptr);
    // Queued without waiting; a failure shows in the next Process(), which closes the remote.
    sd_bus_emit_properties_changed_strv(bus_, kPath, kPlayerInterface,
                                        const_cast<char**>(player.data()));
    UpdateInterest();
}

void MprisBus::Process() {
    if (!bus_ || processing_)
        return;
    // Whatever is asked now is answered from the current state.
    if (listener_)
        listener_->OnRemoteQuery();
    processing_ = true;
    const Interest before = interest_;
    interest_ = {};
    if (onInterestChange_ && (before.read || before.write))
        onInterestChange_(interest_);
    int r = 0;
    while ((r = sd_bus_process(bus_, nullptr)) > 0) {
    }
    processing_ = false;
    if (r < 0) {
        Close();  // the bus went away: the program goes on without the remote, saying nothing
        return;
    }
    UpdateInterest();
}

void MprisBus::UpdateInterest() {
    if (processing_ || !onInterestChange_)
        return;
    Interest now;
    if (bus_) {
        const int events = sd_bus_get_events(bus_);
        now.read = events >= 0 && (events & POLLIN) != 0;
        now.write = events >= 0 && (events & POLLOUT) != 0;
    }
    if (now.read == interest_.read && now.write == interest_.write)
        return;
    interest_ = now;
    onInterestChange_(interest_);
}

void MprisBus::Close() {
    if (!bus_)
        return;
    if (onInterestChange_ && (interest_.read || interest_.write))
        onInterestChange_({});
    interest_ = {};
    nameSlot_ = sd_bus_slot_unref(nameSlot_);
    playerSlot_ = sd_bus_slot_unref(playerSlot_);
    rootSlot_ = sd_bus_slot_unref(rootSlot_);
    bus_ = sd_bus_close_unref(bus_);
    ownedName_.clear();
}

}  // namespace platform::linux_backend
