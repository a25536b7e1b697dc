// The bank file's byte layout: what the writer produces and what the reader accepts.
#include <gtest/gtest.h>

#include <string>

#include "tests/presets/bank_bytes.h"

namespace {

CBank EmptyPreset() {
    CBank bank;
    bank.m_nPeriodMs = 600;
    bank.m_nBpm = 100;
    bank.m_nScaleRow = 21;
    bank.m_nSignature = 3;
    return bank;
}

TEST(BankFormat, WorkedExampleIsWrittenByteForByte) {
    EXPECT_EQ(Store(AndantePreset()), AndanteBytes());
    EXPECT_EQ(AndanteBytes().size(), 66u);
}

TEST(BankFormat, WorkedExampleReadsBackIntoEveryField) {
    CBank bank;
    Load(AndanteBytes(), bank);
    EXPECT_EQ(bank, AndantePreset());
}

TEST(BankFormat, ThreeEmptyStringsMakeTheSmallestFile) {
    const Bytes bytes = Store(EmptyPreset());
    const Bytes empty = Hex({0xFF, 0xFE, 0xFF, 0x00});
    EXPECT_EQ(bytes, Int32(600) + Int32(0) + empty + empty + Int32(100) + Int32(21) + Int32(0) +
                         Int32(3) + Int32(0) + empty);
    EXPECT_EQ(bytes.size(), 40u);
    CBank back = AndantePreset();
    Load(bytes, back);
    EXPECT_EQ(back, EmptyPreset());
}

struct LengthForm {
    std::size_t units;
    Bytes header;
};

std::ostream& operator<<(std::ostream& os, const LengthForm& f) {
    return os << f.units << " code units";
}

class StringLengthForms : public ::testing::TestWithParam<LengthForm> {};

TEST_P(StringLengthForms, CommentsUseTheirLengthFormAndReadBack) {
    CBank bank = EmptyPreset();
    std::u16string text(GetParam().units, u'x');
    for (std::size_t i = 0; i < text.size(); i += 7)
        text[i] = static_cast<char16_t>(0x100 + i % 500);
    bank.m_strNotes = text;

    const Bytes bytes = Store(bank);
    const std::size_t at = 36;  // after the nine fields with two empty strings
    ASSERT_EQ(bytes.size(), at + GetParam().header.size() + 2 * GetParam().units);
    EXPECT_EQ(Bytes(bytes.begin() + at, bytes.begin() + at + GetParam().header.size()),
              GetParam().header);
    const std::size_t textAt = at + GetParam().header.size();
    EXPECT_EQ(bytes[textAt], 0x00);  // the first unit, 0x100, low byte first
    EXPECT_EQ(bytes[textAt + 1], 0x01);

    CBank back;
    Load(bytes, back);
    EXPECT_EQ(back, bank);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, StringLengthForms,
    ::testing::Values(
        LengthForm{1, Hex({0xFF, 0xFE, 0xFF, 0x01})},
        LengthForm{254, Hex({0xFF, 0xFE, 0xFF, 0xFE})},
        LengthForm{255, Hex({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00})},
        LengthForm{65533, Hex({0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF})},
        LengthForm{65534, Hex({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        LengthForm{70000, Hex({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})}),
    [](const auto& info) { return std::to_string(info.param.units) + "CodeUnits"; });

TEST(BankFormat, NegativeAndExtremeIntegersAreTwosComplement) {
    CBank bank = EmptyPreset();
    bank.m_nPeriodMs = -1;
    bank.m_bEighthNotes = 1;
    bank.m_nBpm = INT32_MIN;
    bank.m_nScaleRow = -1;
    bank.m_nSound = INT32_MAX;
    const Bytes bytes = Store(bank);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), Hex({0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Bytes(bytes.begin() + 16, bytes.begin() + 20), Hex({0x00, 0x00, 0x00, 0x80}));
    CBank back;
    Load(bytes, back);
    EXPECT_EQ(back, bank);
}

TEST(BankFormat, TextKeepsZeroUnitsLineBreaksAndSurrogates) {
    CBank bank = AndantePreset();
    bank.m_strName = std::u16string(u"a\0b", 3);
    bank.m_strValue = std::u16string(u"\0", 1);
    bank.m_strNotes = u"first line\r\nsecond \U0001D15F line\r\n\r\n\u00E9\uFFFF";
    CBank back;
    Load(Store(bank), back);
    EXPECT_EQ(back, bank);
    EXPECT_EQ(back.m_strName.GetLength(), 3);
}

TEST(BankFormat, UnmarkedStringsAreReadAsTheAnsiCodePage) {
    const Bytes bytes = Int32(600) + Int32(0) + Hex({0x03, 0x61, 0x62, 0x63}) +
                        Hex({0x06, 0x80, 0x81, 0x9F, 0xE9, 0x00, 0xFF}) + Int32(1) + Int32(2) +
                        Int32(0) + Int32(3) + Int32(1) + Hex({0x00});
    CBank bank = AndantePreset();
    Load(bytes, bank);
    EXPECT_EQ(bank.m_strName, u"abc");
    EXPECT_EQ(bank.m_strValue.Str(), std::u16string(u"\u20AC\u0081\u0178\u00E9\0\u00FF", 6));
    EXPECT_EQ(bank.m_strNotes, u"");
    EXPECT_EQ(bank.m_nSound, 1);
}

TEST(BankFormat, MarkedAndUnmarkedStringsMixInOneFile) {
    Bytes longUnmarked = Hex({0xFF, 0x2C, 0x01});  // 300 bytes in the 16-bit length form
    longUnmarked.resize(3 + 300, 'z');
    const Bytes bytes = Int32(500) + Int32(1) +
                        Hex({0xFF, 0xFE, 0xFF, 0x02, 0x41, 0x00, 0x42, 0x00}) +
                        Hex({0x03, 0x31, 0x32, 0x30}) + Int32(120) + Int32(-1) + Int32(1) +
                        Int32(9) + Int32(2) + longUnmarked;
    CBank bank;
    Load(bytes, bank);
    EXPECT_EQ(bank.m_strName, u"AB");
    EXPECT_EQ(bank.m_strValue, u"120");
    EXPECT_EQ(bank.m_strNotes.Str(), std::u16string(300, u'z'));
    EXPECT_EQ(bank.m_nSignature, 9);
    EXPECT_EQ(bank.m_nScaleRow, -1);
}

TEST(BankFormat, SecondMarkerIsTheLength65534) {
    // After a marker, FF FE FF is a 16-bit length of 0xFFFE, not a second marker.
    Bytes record = Hex({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF});
    record.resize(record.size() + 2 * 65534, 0x41);
    const Bytes bytes = Int32(1) + Int32(0) + record + Hex({0x00}) + Int32(0) + Int32(0) +
                        Int32(0) + Int32(0) + Int32(0) + Hex({0x00});
    CBank bank;
    Load(bytes, bank);
    EXPECT_EQ(bank.m_strName.GetLength(), 65534);
    EXPECT_EQ(bank.m_strName.Str()[0], u'\u4141');
}

TEST(BankFormat, BytesAfterTheRecordAreIgnored) {
    CBank bank;
    Load(AndanteBytes() + Hex({0xFF, 0xFE, 0xFF, 0x7F, 0x01, 0x02}), bank);
    EXPECT_EQ(bank, AndantePreset());
}

}  // namespace
