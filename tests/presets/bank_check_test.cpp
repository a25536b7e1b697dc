// The range check of a recalled record: everything the program can save passes, and each value
// the click cannot play is caught on its own.
#include <gtest/gtest.h>

#include <string>

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
    // Free entry: 1 to 300 BPM typed, truncated, behind whatever row the hidden list had.
    bank.m_bFreeTempo = 1;
    for (int bpm = 1; bpm <= 300; ++bpm) {
        for (const int row : {-1, 0, 39}) {
            for (const int eighths : {0, 1}) {
                bank.m_strValue = CString::FromUtf8(std::to_string(bpm));
                bank.m_nBpm = bpm;
                bank.m_nPeriodMs = 60000 / bpm;
                bank.m_nScaleRow = row;
                bank.m_bEighthNotes = eighths;
                ASSERT_TRUE(IsPlayable(bank)) << bpm << " " << row;
            }
        }
    }
    // Tapped: the average interval stays the period, 200 ms for anything faster than 300 BPM.
    bank.m_bEighthNotes = 0;
    for (int average = 200; average <= 2000; ++average) {
        bank.m_nBpm = 60000 / average;
        bank.m_strValue = CString::FromUtf8(std::to_string(bank.m_nBpm));
        bank.m_nPeriodMs = average;
        ASSERT_TRUE(IsPlayable(bank)) << average;
    }
}

// The free-entry fields come back into the tempo field and the click only when the field could
// have held them; the name is shown as stored, as earlier versions named tempos their own way.
TEST(BankCheck, FreeEntryFieldsMustBeOnesTheFieldCanHold) {
    const auto free = [](const char16_t* text, std::int32_t bpm, std::int32_t periodMs) {
        CBank bank = AndantePreset();
        bank.m_bFreeTempo = 1;
        bank.m_strValue = text;
        bank.m_nBpm = bpm;
        bank.m_nPeriodMs = periodMs;
        bank.m_strName = u"Allegretto";
        return IsPlayable(bank);
    };
    EXPECT_TRUE(free(u"007", 7, 8571));
    EXPECT_TRUE(free(u"", 1, 60000));  // the emptied field
    EXPECT_TRUE(free(u"300", 300, 200));
    EXPECT_TRUE(free(u"114", 114, 523));  // tapped
    // The free period of before, brought back by the switch after a recall, saved with new texts.
    EXPECT_TRUE(free(u"120", 120, 600));
    EXPECT_TRUE(free(u"120", 120, 2500));  // 24 BPM

    EXPECT_FALSE(free(u"999", 999, 600));
    EXPECT_FALSE(free(u"301", 301, 199));
    EXPECT_FALSE(free(u"12345678901234567890", 100, 600));
    EXPECT_FALSE(free(u"0100", 100, 600));
    EXPECT_FALSE(free(u"0", 1, 60000));
    EXPECT_FALSE(free(u"000", 1, 60000));
    EXPECT_FALSE(free(u"1x0", 1, 60000));
    EXPECT_FALSE(
        free(u"\xFF11"
             "00",
             100, 600));  // a full-width digit
    EXPECT_FALSE(free(u"100", 120, 600));
    EXPECT_FALSE(free(u"", 0, 60000));
    EXPECT_FALSE(free(u"", 5, 12000));
    EXPECT_FALSE(free(u"100", 100, 199));
    EXPECT_FALSE(free(u"100", 100, 2001));
    EXPECT_FALSE(free(u"100", 100, 2501));
    EXPECT_FALSE(free(u"100", 100, 60001));
    EXPECT_FALSE(free(u"100", 100, -1));
    EXPECT_FALSE(free(u"100", 100, 0));
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
