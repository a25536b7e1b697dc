// Windows-style scalar types, handles and constants that the program's code is written against,
// with the values Windows gives them. They are the program's own on every platform, Windows too:
// only platform/<backend>/ and ui/<backend>/ include the system's headers, and convert there.
#pragma once

#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using BOOL = int;
using UINT_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using MMRESULT = UINT;
using WCHAR = char16_t;
using LPCWSTR = const char16_t*;
using LPCSTR = const char*;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// Opaque handles. Layers that own the objects derive them from these tags.
struct HWND__ {};
struct HICON__ {};
struct HINSTANCE__ {};
struct HWAVEOUT__ {};
struct HMENU__ {};
struct HDC__ {};
using HWND = HWND__*;
using HICON = HICON__*;
using HCURSOR = HICON__*;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE__*;
using HWAVEOUT = HWAVEOUT__*;
using HMENU = HMENU__*;
using HDC = HDC__*;

inline constexpr WORD LOWORD(DWORD_PTR v) {
    return static_cast<WORD>(v & 0xFFFF);
}
inline constexpr WORD HIWORD(DWORD_PTR v) {
    return static_cast<WORD>((v >> 16) & 0xFFFF);
}

// Multimedia timers.
using LPTIMECALLBACK = void (*)(UINT uTimerID, UINT uMsg, DWORD_PTR dwUser, DWORD_PTR dw1,
                                DWORD_PTR dw2);
constexpr MMRESULT TIMERR_NOERROR = 0;
constexpr MMRESULT TIMERR_NOCANDO = 97;
constexpr UINT TIME_ONESHOT = 0;
constexpr UINT TIME_PERIODIC = 1;

// Sound player.
constexpr DWORD SND_SYNC = 0x0000;
constexpr DWORD SND_ASYNC = 0x0001;
constexpr DWORD SND_NODEFAULT = 0x0002;
constexpr DWORD SND_MEMORY = 0x0004;
constexpr DWORD SND_LOOP = 0x0008;

// Wave-out device.
constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_ERROR = 1;
constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_NODRIVER = 6;
constexpr UINT WAVE_MAPPER = 0xFFFFFFFFu;
constexpr WORD WAVE_FORMAT_PCM = 1;
constexpr DWORD CALLBACK_NULL = 0;

struct WAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
};

// Window visibility, for ShowWindow and ShellExecuteW.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;
