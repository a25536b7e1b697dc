// The waveOut calls behind the Windows sound player's stream.
#include "platform/win32/winmm_wave_device.h"

#include <windows.h>
// After <windows.h>, which they build on.
#include <mmsystem.h>

#include <vector>

namespace platform::win32 {
namespace {
// The wave mapper's preferred output (from the driver development kit's headers).
constexpr UINT kMapperPreferredGet = 0x2000 + 21;
}  // namespace

struct WinmmWaveDevice::State {
    HANDLE event = nullptr;
    HWAVEOUT handle = nullptr;
    std::vector<WAVEHDR> headers;
    unsigned frameBytes = 0;
    // The position, counted on in 64 bits from the system's 32-bit one.
    bool inBytes = false;
    DWORD last = 0;
    std::uint64_t total = 0;
};

WinmmWaveDevice::WinmmWaveDevice() : state_(std::make_unique<State>()) {
    state_->event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

WinmmWaveDevice::~WinmmWaveDevice() {
    Close();
    if (state_->event)
        CloseHandle(state_->event);
}

void* WinmmWaveDevice::Event() const {
    return state_->event;
}

bool WinmmWaveDevice::Open(std::uint32_t rate, unsigned channels, std::size_t blocks) {
    Close();
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(channels);
    format.nSamplesPerSec = rate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = static_cast<WORD>(channels * 2);
    format.nAvgBytesPerSec = rate * format.nBlockAlign;
    HWAVEOUT handle = nullptr;
    if (waveOutOpen(&handle, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(state_->event), 0,
                    CALLBACK_EVENT) != MMSYSERR_NOERROR)
        return false;
    state_->handle = handle;
    state_->frameBytes = format.nBlockAlign;
    // Every block starts out played: free to fill.
    state_->headers.assign(blocks, WAVEHDR{});
    for (WAVEHDR& header : state_->headers)
        header.dwFlags = WHDR_DONE;
    state_->inBytes = false;
    state_->last = 0;
    state_->total = 0;
    return true;
}

void WinmmWaveDevice::Close() {
    if (!state_->handle)
        return;
    waveOutReset(state_->handle);  // gives every block back
    for (WAVEHDR& header : state_->headers)
        if (header.dwFlags & WHDR_PREPARED)
            waveOutUnprepareHeader(state_->handle, &header, sizeof header);
    waveOutClose(state_->handle);
    state_->handle = nullptr;
}

bool WinmmWaveDevice::Queue(std::size_t index, const std::int16_t* samples, std::uint32_t frames) {
    if (!state_->handle || index >= state_->headers.size())
        return false;
    WAVEHDR& header = state_->headers[index];
    const auto bytes = static_cast<DWORD>(frames * state_->frameBytes);
    // A block keeps its memory: prepared once, written again and again.
    if ((header.dwFlags & WHDR_PREPARED) &&
        (header.lpData != reinterpret_cast<LPSTR>(const_cast<std::int16_t*>(samples)) ||
         header.dwBufferLength != bytes)) {
        waveOutUnprepareHeader(state_->handle, &header, sizeof header);
    }
    if (!(header.dwFlags & WHDR_PREPARED)) {
        header = WAVEHDR{};
        header.lpData = reinterpret_cast<LPSTR>(const_cast<std::int16_t*>(samples));
        header.dwBufferLength = bytes;
        if (waveOutPrepareHeader(state_->handle, &header, sizeof header) != MMSYSERR_NOERROR)
            return false;
    }
    header.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
    return waveOutWrite(state_->handle, &header, sizeof header) == MMSYSERR_NOERROR;
}

bool WinmmWaveDevice::Played(std::size_t index) const {
    if (index >= state_->headers.size())
        return false;
    // The system sets the flag on its own thread.
    const volatile DWORD& flags = state_->headers[index].dwFlags;
    return (flags & WHDR_DONE) != 0;
}

bool WinmmWaveDevice::Position(std::uint64_t& frames) {
    if (!state_->handle)
        return false;
    MMTIME time{};
    time.wType = state_->inBytes ? TIME_BYTES : TIME_SAMPLES;
    if (waveOutGetPosition(state_->handle, &time, sizeof time) != MMSYSERR_NOERROR)
        return false;
    // A driver may answer in bytes instead; the count goes on from there.
    const bool inBytes = time.wType == TIME_BYTES;
    if (inBytes != state_->inBytes && state_->total == 0)
        state_->inBytes = inBytes;
    const DWORD now = inBytes ? time.u.cb : time.u.sample;
    state_->total += static_cast<DWORD>(now - state_->last);
    state_->last = now;
    frames = state_->inBytes ? state_->total / state_->frameBytes : state_->total;
    return true;
}

bool WinmmWaveDevice::GetVolume(std::uint32_t& volume) {
    DWORD v = 0;
    if (!state_->handle || waveOutGetVolume(state_->handle, &v) != MMSYSERR_NOERROR)
        return false;
    volume = v;
    return true;
}

bool WinmmWaveDevice::SetVolume(std::uint32_t volume) {
    return state_->handle && waveOutSetVolume(state_->handle, volume) == MMSYSERR_NOERROR;
}

std::uint32_t WinmmWaveDevice::DefaultOutput() {
    // The preferred device's number and how many there are: either changes with the default.
    DWORD id = 0;
    DWORD status = 0;
    if (waveOutMessage(reinterpret_cast<HWAVEOUT>(static_cast<UINT_PTR>(WAVE_MAPPER)),
                       kMapperPreferredGet, reinterpret_cast<DWORD_PTR>(&id),
                       reinterpret_cast<DWORD_PTR>(&status)) != MMSYSERR_NOERROR)
        id = 0xFFFF;
    return (id & 0xFFFF) | (waveOutGetNumDevs() << 16);
}

}  // namespace platform::win32
