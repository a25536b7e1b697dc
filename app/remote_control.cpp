// The dialog's side of the media remote: the media keys, and the remote told of every change once
// the handler that made it has returned.
#include "app/metronome_dlg.h"

LRESULT CMetronomeDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    ++handlerDepth_;
    LRESULT result = 0;
    try {
        result = CDialog::WindowProc(message, wParam, lParam);
    } catch (...) {
        --handlerDepth_;
        throw;
    }
    // Not in between: a handler's box runs a loop of its own while the handler is half done.
    if (--handlerDepth_ == 0)
        remote_.Refresh();
    return result;
}

bool CMetronomeDlg::AcceptsRemoteCommands() const {
    // Not inside a handler (its box is open) nor while a dialog of its own is (Save, About).
    return handlerDepth_ == 0 && IsWindowEnabled() && !released_;
}

void CMetronomeDlg::OnAppCommand(UINT /*window*/, LPARAM lParam) {
    using platform::RemoteCommand;
    switch (HIWORD(static_cast<DWORD_PTR>(lParam)) & 0x0FFF) {
        case APPCOMMAND_MEDIA_PLAY_PAUSE:
            remote_.Act(RemoteCommand::playPause);
            break;
        case APPCOMMAND_MEDIA_STOP:
            remote_.Act(RemoteCommand::stop);
            break;
        case APPCOMMAND_MEDIA_NEXTTRACK:
            remote_.Act(RemoteCommand::next);
            break;
        case APPCOMMAND_MEDIA_PREVIOUSTRACK:
            remote_.Act(RemoteCommand::previous);
            break;
        default:
            break;
    }
}
