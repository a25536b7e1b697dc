// Volume calls mapped onto the output stream's own volume.
#include "platform/win32/stream_volume.h"

namespace platform::win32 {

MMRESULT StreamVolume::Open(HWAVEOUT* handle, UINT, const WAVEFORMATEX*) {
    if (!handle)
        return MMSYSERR_ERROR;
    open_.store(true, std::memory_order_relaxed);
    *handle = &device_;
    return MMSYSERR_NOERROR;
}

MMRESULT StreamVolume::GetVolume(HWAVEOUT handle, DWORD* volume) {
    if (!Valid(handle))
        return MMSYSERR_INVALHANDLE;
    if (!volume)
        return MMSYSERR_ERROR;
    *volume = output_.Volume();
    return MMSYSERR_NOERROR;
}

MMRESULT StreamVolume::SetVolume(HWAVEOUT handle, DWORD volume) {
    if (!Valid(handle))
        return MMSYSERR_INVALHANDLE;
    output_.SetVolume(volume);
    return MMSYSERR_NOERROR;
}

MMRESULT StreamVolume::Reset(HWAVEOUT handle) {
    return Valid(handle) ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

MMRESULT StreamVolume::Close(HWAVEOUT handle) {
    if (!Valid(handle))
        return MMSYSERR_INVALHANDLE;
    open_.store(false, std::memory_order_relaxed);
    return MMSYSERR_NOERROR;
}

}  // namespace platform::win32
