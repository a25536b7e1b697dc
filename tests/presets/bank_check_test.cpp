// The range check of a recalled record: everything the program can save passes, and each value
// the click cannot play is caught on its own.
#include <gtest/gtest.h>

#include "presets/bank_check.h"
#include "tempo/tempo_scale.h"
#include "tests/presets/bank_bytes.h"

namespace {

using presets::IsPlayable;

TEST(BankCheck, EveryRecordTheProgramSavesPasses) {
    CBank bank = AndantePreset();
    for (int row = 0; row < static_cast<int>(tempo::kTempoScale.size()); ++row) {
        for (const int eighths : {0, 1}) {
            for (int signature = 0; signature <= 11; ++signature) {
                for (int sound = 0; sound <= 3; ++sound) {
                    bank.m_nScaleRow = row;
                    bank.m_nPeriodMs = tempo::kTempoScale[row].periodMs;
                    bank.m_bEighthNotes = eighths;
                    bank.m_nSignature = signature;
                    bank.m_nSound = sound;
                    ASSERT_TRUE(IsPlayable(bank)) << row << " " << eighths << " " << signature;
                }
            }
        }
    }
    // Free entry: 1 to 300 BPM, truncated, behind whatever row the hidden list had.
    bank.m_bFreeTempo = 1;
    for (int bpm = 1; bpm <= 300; ++bpm) {
        for (const int row : {-1, 0, 39}) {
            for (const int eighths : {0, 1}) {
                bank.m_nPeriodMs = 60000 / bpm;
                bank.m_nScaleRow = row;
                bank.m_bEighthNotes = eighths;
                ASSERT_TRUE(IsPlayable(bank)) << bpm << " " << row;
            }
        }
    }
}

TEST(BankCheck, EachValueOutsideWhatTheClickPlaysIsCaught) {
    const auto with = [](void (*change)(CBank&)) {
        CBank bank = AndantePreset();
        change(bank);
        return IsPlayable(bank);
    };
    EXPECT_TRUE(with([](CBank&) {}));
    EXPECT_FALSE(with([](CBank& b) { b.m_nSound = 4; }));
    EXPECT_FALSE(with([](CBank& b) { b.m_nSound = -1; }));
    EXPECT_FALSE(with([](CBank& b) { b.m_nSignature = 12; }));
    EXPECT_FALSE(with([](CBank& b) { b.m_nSignature = -1; }));
    EXPECT_FALSE(with([](CBank& b) { b.m_bFreeTempo = 2; }));
    EXPECT_FALSE(with([](CBank& b) { b.m_bFreeTempo = -1; }));
    EXPECT_FALSE(with([](CBank& b) { b.m_nScaleRow = 40; }));
    EXPECT_FALSE(with([](CBank& b) { b.m_nScaleRow = -1; }));
    EXPECT_TRUE(with([](CBank& b) { b.m_nScaleRow = 40, b.m_bFreeTempo = 1; }));
    EXPECT_FALSE(with([](CBank& b) { b.m_nPeriodMs = 0; }));
    EXPECT_FALSE(with([](CBank& b) { b.m_nPeriodMs = -2; }));
    EXPECT_FALSE(with([](CBank& b) { b.m_nPeriodMs = 1, b.m_bEighthNotes = 1; }));
    EXPECT_TRUE(with([](CBank& b) { b.m_nPeriodMs = 1; }));
    EXPECT_TRUE(with([](CBank& b) { b.m_nPeriodMs = presets::kLongestTimerIntervalMs; }));
    EXPECT_FALSE(with([](CBank& b) { b.m_nPeriodMs = presets::kLongestTimerIntervalMs + 1; }));
    EXPECT_TRUE(with([](CBank& b) {
        b.m_nPeriodMs = 2 * presets::kLongestTimerIntervalMs, b.m_bEighthNotes = 1;
    }));
    // The A4 tone's period, in either family.
    EXPECT_TRUE(with([](CBank& b) { b.m_nPeriodMs = -1, b.m_nScaleRow = 39; }));
    EXPECT_TRUE(with([](CBank& b) { b.m_nPeriodMs = -1, b.m_bEighthNotes = 1; }));
}

TEST(BankCheck, TheRefusalNamesTheFile) {
    const CString text = CBankValueException(u"/home/player/bank2.dat").GetErrorMessage();
    EXPECT_NE(text.ToUtf8().find("/home/player/bank2.dat"), std::string::npos) << text;
}

}  // namespace
