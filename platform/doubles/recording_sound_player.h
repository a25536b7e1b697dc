// A sound player that plays nothing and remembers every request, with the virtual time it came at.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/doubles/call_log.h"
#include "platform/doubles/fake_timer_service.h"
#include "platform/services.h"

namespace platform::doubles {

class RecordingSoundPlayer : public SoundPlayer {
  public:
    struct Request {
        std::uint64_t timeMs;
        const char* image;  // nullptr for a stop
        DWORD flags;
        std::string name;
    };

    RecordingSoundPlayer(CallLog& log, const FakeTimerService& clock) : log_(log), clock_(clock) {}

    BOOL Play(const char* image, DWORD flags) noexcept override;

    // Gives recorded images readable names (for example the sample file they came from).
    void SetNamer(std::function<std::string(const char*)> namer) { namer_ = std::move(namer); }
    const std::vector<Request>& Requests() const { return requests_; }
    void Clear() { requests_.clear(); }

  private:
    CallLog& log_;
    const FakeTimerService& clock_;
    std::function<std::string(const char*)> namer_;
    std::vector<Request> requests_;
};

}  // namespace platform::doubles
