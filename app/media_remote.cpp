// The media remote's mapping onto the main dialog.
#include "app/media_remote.h"

#include <string>

#include "app/metronome_dlg.h"
#include "app/preset_buttons.h"
#include "audio/beat_clock.h"
#include "platform/file.h"

namespace {

// The signature as its radio shows it: the measure in the family the clock runs in.
std::string SignatureText(std::int32_t signature, bool eighths) {
    const std::int32_t measure = FoldSignature(signature);
    if (measure < 0 || measure > 5)
        return {};
    return std::to_string(measure + 1) + (eighths ? "/8" : "/4");
}

// The tempo as the window shows it, read from the controls: a tap changes the list's row without
// the member that holds its text. Free entry shows the number and the name in two fields.
CString TempoShown(const CMetronomeDlg& dialog) {
    CString shown;
    if (dialog.m_chkNoFixedScale.GetCheck() != 0) {
        CString name;
        dialog.m_editTempoValue.GetWindowText(shown);
        dialog.m_editTempoName.GetWindowText(name);
        shown += u" ";
        shown += name;
    } else if (const int row = dialog.m_comboTempo.GetCurSel(); row >= 0) {
        dialog.m_comboTempo.GetLBText(row, shown);
    }
    return shown;
}

bool HoldsSavedRecord(int preset) {
    return CFile::Exists(PresetFileName(preset));
}

}  // namespace

platform::RemoteState MediaRemote::StateOf(const CMetronomeDlg& dialog) {
    platform::RemoteState state;
    state.playing = dialog.m_bRunning;
    state.title = TempoShown(dialog).ToUtf8();
    state.signature = SignatureText(g_nSignature.load(), dialog.m_bEighths != 0);
    state.canGoNext = NextSavedPreset(dialog.RecalledPreset()) != 0;
    state.canGoPrevious = PreviousSavedPreset(dialog.RecalledPreset()) != 0;
    return state;
}

int MediaRemote::NextSavedPreset(int from) {
    for (int preset = from + 1; preset <= kPresetCount; ++preset)
        if (HoldsSavedRecord(preset))
            return preset;
    return 0;
}

int MediaRemote::PreviousSavedPreset(int from) {
    for (int preset = from - 1; preset >= 1; --preset)
        if (HoldsSavedRecord(preset))
            return preset;
    return 0;
}

void MediaRemote::Attach(platform::RemoteBus* bus) {
    Detach();
    bus_ = bus;
    if (!bus_)
        return;
    published_ = StateOf(dialog_);
    bus_->Publish(published_);
    bus_->Listen(this);
}

void MediaRemote::Detach() {
    if (bus_)
        bus_->Listen(nullptr);
    bus_ = nullptr;
}

void MediaRemote::Refresh() {
    if (!bus_)
        return;
    platform::RemoteState state = StateOf(dialog_);
    if (state == published_)
        return;
    published_ = std::move(state);
    bus_->Publish(published_);
}

void MediaRemote::OnRemoteCommand(platform::RemoteCommand command) {
    if (dialog_.AcceptsRemoteCommands())
        Act(command);
}

void MediaRemote::OnRemoteQuery() {
    if (dialog_.AcceptsRemoteCommands())
        Refresh();
}

void MediaRemote::Act(platform::RemoteCommand command) {
    using platform::RemoteCommand;
    switch (command) {
        case RemoteCommand::playPause:
            Press(IDC_ONOFF);
            break;
        case RemoteCommand::play:
            if (!dialog_.m_bRunning)
                Press(IDC_ONOFF);
            break;
        case RemoteCommand::pause:
        case RemoteCommand::stop:
            if (dialog_.m_bRunning)
                Press(IDC_ONOFF);
            break;
        case RemoteCommand::next:
            if (const int preset = NextSavedPreset(dialog_.RecalledPreset()))
                Press(PresetButtonId(preset));
            break;
        case RemoteCommand::previous:
            if (const int preset = PreviousSavedPreset(dialog_.RecalledPreset()))
                Press(PresetButtonId(preset));
            break;
    }
    Refresh();
}

void MediaRemote::Press(int controlId) {
    // Through the dialog's window procedure, as the button's click comes: an error that escapes
    // the handler is shown in the stop-icon box, and the state is announced afterwards.
    CWnd* button = dialog_.GetDlgItem(controlId);
    dialog_.SendMessage(WM_COMMAND,
                        MakeWParam(static_cast<WORD>(controlId), static_cast<WORD>(BN_CLICKED)),
                        reinterpret_cast<LPARAM>(button ? button->GetSafeHwnd() : nullptr));
}
