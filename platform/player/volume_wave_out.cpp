// Volume calls mapped onto the output's own volume.
#include "platform/player/volume_wave_out.h"

namespace platform::player {

MMRESULT VolumeWaveOut::Open(HWAVEOUT* handle, UINT, const WAVEFORMATEX*) {
    if (!handle)
        return MMSYSERR_ERROR;
    open_.store(true, std::memory_order_relaxed);
    *handle = &device_;
    return MMSYSERR_NOERROR;
}

MMRESULT VolumeWaveOut::GetVolume(HWAVEOUT handle, DWORD* volume) {
    if (!Valid(handle))
        return MMSYSERR_INVALHANDLE;
    if (!volume)
        return MMSYSERR_ERROR;
    *volume = output_.Volume();
    // Whatever is set next is the reader's answer to this value, and is applied.
    lastSet_.reset();
    return MMSYSERR_NOERROR;
}

MMRESULT VolumeWaveOut::SetVolume(HWAVEOUT handle, DWORD volume) {
    if (!Valid(handle))
        return MMSYSERR_INVALHANDLE;
    if (lastSet_ == volume)
        return MMSYSERR_NOERROR;
    lastSet_ = volume;
    output_.SetVolume(volume);
    return MMSYSERR_NOERROR;
}

MMRESULT VolumeWaveOut::Reset(HWAVEOUT handle) {
    return Valid(handle) ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

MMRESULT VolumeWaveOut::Close(HWAVEOUT handle) {
    if (!Valid(handle))
        return MMSYSERR_INVALHANDLE;
    open_.store(false, std::memory_order_relaxed);
    notice_ = nullptr;
    noticeContext_ = nullptr;
    return MMSYSERR_NOERROR;
}

MMRESULT VolumeWaveOut::WatchVolume(HWAVEOUT handle, VolumeNotice notice, void* context) {
    if (!Valid(handle))
        return MMSYSERR_INVALHANDLE;
    notice_ = notice;
    noticeContext_ = context;
    return MMSYSERR_NOERROR;
}

void VolumeWaveOut::VolumeChangedOutside() {
    if (notice_ && open_.load(std::memory_order_relaxed))
        notice_(noticeContext_);
}

}  // namespace platform::player
