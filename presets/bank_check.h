// Whether a recalled preset record holds only values the program can play, and the error a recall
// raises for one that does not.
#pragma once

#include <cstdint>

#include "base/cstring.h"
#include "base/exception.h"
#include "presets/bank.h"

namespace presets {

// The longest interval the multimedia timer accepts, in milliseconds; 0 is refused too.
inline constexpr std::int32_t kLongestTimerIntervalMs = 1000000;

// True when every value that a recall acts on is one the dialog and the click can take: a sound
// of the four, a signature of the twelve radios, "No fixed scale" 0 or 1, a row of the 40 while
// the tempo scale is in use, and a period that is the A4 tone's or gives the timer an interval
// it accepts (halved for an x/8 signature). With "No fixed scale" ticked the tempo field's text
// must be one the field can hold (up to three digits, 1 to 300, or empty for 1 BPM), the BPM the
// one it shows, and the period one that free entry gives. Every record the program saves passes.
bool IsPlayable(const CBank& bank);

}  // namespace presets

// A preset file that was read whole but holds values outside what the program can play.
class CBankValueException : public CException {
  public:
    explicit CBankValueException(CString fileName) : m_strFileName(std::move(fileName)) {}
    CString GetErrorMessage() const override;

    CString m_strFileName;
};
