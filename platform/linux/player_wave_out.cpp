// Volume calls mapped onto the player's gain.
#include "platform/linux/player_wave_out.h"

namespace platform::linux_backend {

MMRESULT PlayerWaveOut::Open(HWAVEOUT* handle, UINT, const WAVEFORMATEX*) {
    if (!handle)
        return MMSYSERR_ERROR;
    open_.store(true, std::memory_order_relaxed);
    *handle = &device_;
    return MMSYSERR_NOERROR;
}

MMRESULT PlayerWaveOut::GetVolume(HWAVEOUT handle, DWORD* volume) {
    if (!Valid(handle))
        return MMSYSERR_INVALHANDLE;
    if (!volume)
        return MMSYSERR_ERROR;
    *volume = engine_.Volume();
    return MMSYSERR_NOERROR;
}

MMRESULT PlayerWaveOut::SetVolume(HWAVEOUT handle, DWORD volume) {
    if (!Valid(handle))
        return MMSYSERR_INVALHANDLE;
    engine_.SetVolume(volume);
    return MMSYSERR_NOERROR;
}

MMRESULT PlayerWaveOut::Reset(HWAVEOUT handle) {
    return Valid(handle) ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

MMRESULT PlayerWaveOut::Close(HWAVEOUT handle) {
    if (!Valid(handle))
        return MMSYSERR_INVALHANDLE;
    open_.store(false, std::memory_order_relaxed);
    return MMSYSERR_NOERROR;
}

}  // namespace platform::linux_backend
