// One ordered record of every platform call the program made, stamped with virtual time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::doubles {

struct Call {
    std::uint64_t timeMs;
    std::string text;
};

class CallLog {
  public:
    void Add(std::uint64_t timeMs, std::string text) {
        calls_.push_back({timeMs, std::move(text)});
    }
    const std::vector<Call>& Calls() const { return calls_; }
    // The texts of the calls whose text starts with prefix ("" for all), in order.
    std::vector<std::string> Texts(const std::string& prefix = "") const;
    void Clear() { calls_.clear(); }

  private:
    std::vector<Call> calls_;
};

}  // namespace platform::doubles
