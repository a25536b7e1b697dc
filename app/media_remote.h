// The main dialog as a media player for the desktop's remotes and the window's media keys:
// play, pause and stop act as On/Off does, next and previous recall the neighbouring saved preset
// as its button does, and every change of what the remote shows is announced, whoever made it.
#pragma once

#include "platform/remote_bus.h"

class CMetronomeDlg;

class MediaRemote final : public platform::RemoteListener {
  public:
    explicit MediaRemote(CMetronomeDlg& dialog) : dialog_(dialog) {}
    ~MediaRemote() { Detach(); }
    MediaRemote(const MediaRemote&) = delete;
    MediaRemote& operator=(const MediaRemote&) = delete;

    // Starts answering `bus` (none: nullptr) with the dialog's state; Detach stops.
    void Attach(platform::RemoteBus* bus);
    void Detach();
    // Announces the state when it differs from the last one announced.
    void Refresh();

    // A command from a media key, or from the remote through OnRemoteCommand, which refuses it
    // while a box of the dialog's own is open, as a click on the window is refused.
    void Act(platform::RemoteCommand command);
    void OnRemoteCommand(platform::RemoteCommand command) override;
    // Not in the middle of a handler, whose state may be half changed.
    void OnRemoteQuery() override;

    // What the remote shows for the dialog as it stands.
    static platform::RemoteState StateOf(const CMetronomeDlg& dialog);
    // The preset that Next or Previous recalls from the dialog's last recalled one: the nearest
    // one further on (or back) whose bank file exists; 0 when there is none.
    static int NextSavedPreset(int from);
    static int PreviousSavedPreset(int from);

  private:
    void Press(int controlId);

    CMetronomeDlg& dialog_;
    platform::RemoteBus* bus_ = nullptr;
    platform::RemoteState published_;
};
