// The fake device refuses calls on a handle that is not open, as the real one does.
#include "platform/doubles/fake_wave_out.h"

#include <cstdio>
#include <string>

namespace platform::doubles {

MMRESULT FakeWaveOut::Open(HWAVEOUT* handle, UINT deviceId, const WAVEFORMATEX* format) {
    char text[128];
    std::snprintf(text, sizeof text, "waveOutOpen(%s,%u,%uch,%uHz,%ubit)",
                  deviceId == WAVE_MAPPER ? "WAVE_MAPPER" : std::to_string(deviceId).c_str(),
                  format ? format->wFormatTag : 0u, format ? format->nChannels : 0u,
                  format ? format->nSamplesPerSec : 0u, format ? format->wBitsPerSample : 0u);
    log_.Add(clock_.Now(), text);
    if (format)
        format_ = *format;
    if (failOpen_ || !handle) {
        if (handle)
            *handle = nullptr;
        return MMSYSERR_NODRIVER;
    }
    open_ = true;
    *handle = &device_;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveOut::GetVolume(HWAVEOUT handle, DWORD* volume) {
    log_.Add(clock_.Now(), "waveOutGetVolume");
    if (!Valid(handle) || !volume)
        return MMSYSERR_INVALHANDLE;
    *volume = volume_;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveOut::SetVolume(HWAVEOUT handle, DWORD volume) {
    char text[48];
    std::snprintf(text, sizeof text, "waveOutSetVolume(0x%08X)", volume);
    log_.Add(clock_.Now(), text);
    if (!Valid(handle))
        return MMSYSERR_INVALHANDLE;
    volume_ = volume;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveOut::Reset(HWAVEOUT handle) {
    log_.Add(clock_.Now(), "waveOutReset");
    return Valid(handle) ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

MMRESULT FakeWaveOut::Close(HWAVEOUT handle) {
    log_.Add(clock_.Now(), "waveOutClose");
    if (!Valid(handle))
        return MMSYSERR_INVALHANDLE;
    open_ = false;
    notice_ = nullptr;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveOut::WatchVolume(HWAVEOUT handle, VolumeNotice notice, void* context) {
    if (!Valid(handle))
        return MMSYSERR_INVALHANDLE;
    notice_ = notice;
    noticeContext_ = context;
    return MMSYSERR_NOERROR;
}

void FakeWaveOut::SetVolumeFromMixer(DWORD volume) {
    volume_ = volume;
    if (notice_)
        notice_(noticeContext_);
}

}  // namespace platform::doubles
