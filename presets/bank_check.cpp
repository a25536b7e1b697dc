// The range check of a recalled preset record.
#include "presets/bank_check.h"

#include "tempo/tempo_scale.h"

namespace presets {

bool IsPlayable(const CBank& bank) {
    if (bank.m_nSound < 0 || bank.m_nSound > 3)
        return false;
    if (bank.m_nSignature < 0 || bank.m_nSignature > 11)
        return false;
    if (bank.m_bFreeTempo != 0 && bank.m_bFreeTempo != 1)
        return false;
    if (bank.m_bFreeTempo == 0 &&
        (bank.m_nScaleRow < 0 || bank.m_nScaleRow >= static_cast<int>(tempo::kTempoScale.size())))
        return false;
    if (bank.m_nPeriodMs == tempo::kTonePeriod)
        return true;
    const std::int32_t interval = bank.m_bEighthNotes ? bank.m_nPeriodMs / 2 : bank.m_nPeriodMs;
    return interval >= 1 && interval <= kLongestTimerIntervalMs;
}

}  // namespace presets

CString CBankValueException::GetErrorMessage() const {
    return NameTheFile(
        u"The preset file %1 holds settings that this program cannot play, so it was not recalled.",
        m_strFileName, u"(unnamed)");
}
