// The range check of a recalled preset record.
#include "presets/bank_check.h"

#include <optional>

#include "tempo/tempo_naming.h"
#include "tempo/tempo_scale.h"

namespace presets {
namespace {

// The longest interval that a tap series takes: a longer pause starts a new series.
constexpr std::int32_t kLongestTapIntervalMs = 2000;

// The tempo that the free-entry field's text stands for, or nothing for a text it cannot hold:
// it takes three digits at most, refuses all zeros, and clamps anything above 300. The emptied
// field stands for 1 BPM.
std::optional<std::int32_t> FreeTempoOf(const CString& text) {
    if (text.IsEmpty())
        return 1;
    if (text.GetLength() > 3)
        return std::nullopt;
    std::int32_t bpm = 0;
    for (const char16_t c : text.Str()) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        bpm = bpm * 10 + (c - u'0');
    }
    if (bpm < 1 || bpm > tempo::kMaxFreeTempoBpm)
        return std::nullopt;
    return bpm;
}

// A period that free entry gives for some tempo: 60000 / BPM for a typed one, the average
// interval of a tap series (never faster than the highest tempo) for a tapped one. It need not
// belong to the BPM shown: ticking "No fixed scale" after a recall brings back the free period of
// before, which the recalled preset's text did not set, and a save then stores both.
bool IsFreeEntryPeriod(std::int32_t periodMs) {
    constexpr std::int32_t kShortest = 60000 / tempo::kMaxFreeTempoBpm;
    if (periodMs >= kShortest && periodMs <= kLongestTapIntervalMs)
        return true;
    if (periodMs < kShortest || periodMs > 60000)
        return false;
    return 60000 / (60000 / periodMs) == periodMs;
}

bool IsFreeEntry(const CBank& bank) {
    const std::optional<std::int32_t> bpm = FreeTempoOf(bank.m_strValue);
    return bpm && *bpm == bank.m_nBpm && IsFreeEntryPeriod(bank.m_nPeriodMs);
}

}  // namespace

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
    if (bank.m_bFreeTempo == 1 && !IsFreeEntry(bank))
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
