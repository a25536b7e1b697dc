// The wave-out device as the program uses it: only its volume, which is the output stream's own.
// Both desktop backends hand it their output; calls on its handle after Close fail harmlessly.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>

#include "platform/services.h"

namespace platform::player {

// The volume of what plays the samples: low 16 bits left, high 16 bits right.
class OutputVolume {
  public:
    virtual ~OutputVolume() = default;
    virtual std::uint32_t Volume() const = 0;
    // Applied at once, to what is already on its way to the loudspeaker where the output can.
    virtual void SetVolume(std::uint32_t volume) = 0;
};

class VolumeWaveOut : public WaveOutDevice {
  public:
    explicit VolumeWaveOut(OutputVolume& output) : output_(output) {}

    // Any device id and format open the one handle.
    MMRESULT Open(HWAVEOUT* handle, UINT deviceId, const WAVEFORMATEX* format) override;
    MMRESULT GetVolume(HWAVEOUT handle, DWORD* volume) override;
    // The slider sets the volume again, unchanged, whenever it is painted: such a value does not
    // reach the output, so that a paint never undoes what the desktop's mixer set meanwhile.
    MMRESULT SetVolume(HWAVEOUT handle, DWORD volume) override;
    MMRESULT Reset(HWAVEOUT handle) override;
    MMRESULT Close(HWAVEOUT handle) override;
    MMRESULT WatchVolume(HWAVEOUT handle, VolumeNotice notice, void* context) override;

    // GUI thread, between handlers: the output's volume changed outside the program; tells the
    // watcher, if any.
    void VolumeChangedOutside();

  private:
    struct Device : HWAVEOUT__ {};
    bool Valid(HWAVEOUT handle) const {
        return handle == &device_ && open_.load(std::memory_order_relaxed);
    }

    OutputVolume& output_;
    Device device_;
    std::atomic<bool> open_{false};
    // GUI thread only: the last volume set, until the volume is read again.
    std::optional<DWORD> lastSet_;
    VolumeNotice notice_ = nullptr;
    void* noticeContext_ = nullptr;
};

}  // namespace platform::player
