// Bank files that are short or malformed: which error they raise and which fields they have set.
#include <gtest/gtest.h>

#include "platform/archive_exception.h"
#include "support/allocation_probe.h"
#include "tests/presets/bank_bytes.h"

namespace {

CBank Previous() {
    CBank bank;
    bank.m_nPeriodMs = 333;
    bank.m_bEighthNotes = 1;
    bank.m_strName = u"old name";
    bank.m_strValue = u"180";
    bank.m_nBpm = 180;
    bank.m_nScaleRow = 7;
    bank.m_bFreeTempo = 1;
    bank.m_strNotes = u"old comments";
    bank.m_nSignature = 11;
    bank.m_nSound = 3;
    return bank;
}

CArchiveException::Cause LoadFailure(const Bytes& bytes, CBank& bank) {
    try {
        Load(bytes, bank);
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    ADD_FAILURE() << "the record was read without an error";
    return CArchiveException::none;
}

TEST(BankDamage, ThreeByteFileFailsOnTheFirstFieldAndChangesNothing) {
    CBank bank = Previous();
    EXPECT_EQ(LoadFailure(Hex({0x58, 0x02, 0x00}), bank), CArchiveException::endOfFile);
    EXPECT_EQ(bank, Previous());
}

TEST(BankDamage, EmptyFileFailsWithEndOfFile) {
    CBank bank = Previous();
    EXPECT_EQ(LoadFailure({}, bank), CArchiveException::endOfFile);
    EXPECT_EQ(bank, Previous());
}

TEST(BankDamage, FileEndingInsideTheCommentsHasSetTheNineFieldsBefore) {
    const Bytes cut(AndanteBytes().begin(), AndanteBytes().end() - 1);
    CBank bank = Previous();
    EXPECT_EQ(LoadFailure(cut, bank), CArchiveException::endOfFile);
    CBank expected = AndantePreset();
    expected.m_strNotes = Previous().m_strNotes;
    EXPECT_EQ(bank, expected);
}

TEST(BankDamage, EveryShorterPrefixFailsWithEndOfFile) {
    for (std::size_t size = 0; size < AndanteBytes().size(); ++size) {
        SCOPED_TRACE(testing::Message() << "cut to " << size << " bytes");
        CBank bank = Previous();
        const Bytes cut(AndanteBytes().begin(), AndanteBytes().begin() + size);
        EXPECT_EQ(LoadFailure(cut, bank), CArchiveException::endOfFile) << "size " << size;
    }
}

TEST(BankDamage, FileEndingInsideTheNameKeepsTheOldName) {
    const Bytes cut(AndanteBytes().begin(), AndanteBytes().begin() + 20);
    CBank bank = Previous();
    EXPECT_EQ(LoadFailure(cut, bank), CArchiveException::endOfFile);
    EXPECT_EQ(bank.m_nPeriodMs, 600);
    EXPECT_EQ(bank.m_bEighthNotes, 0);
    EXPECT_EQ(bank.m_strName, u"old name");
}

struct HugeLength {
    const char* name;
    Bytes record;  // a name string record that declares far more than the file holds
    CArchiveException::Cause cause;
};

std::ostream& operator<<(std::ostream& os, const HugeLength& f) {
    return os << f.name;
}

class HugeLengths : public ::testing::TestWithParam<HugeLength> {};

TEST_P(HugeLengths, FailBeforeAnyLargeAllocation) {
    Bytes bytes = Int32(600) + Int32(0) + GetParam().record;
    bytes.resize(bytes.size() + 1000, 0x41);  // some text, but far too little
    CBank bank = Previous();
    allocation_probe::Reset();
    EXPECT_EQ(LoadFailure(bytes, bank), GetParam().cause);
    EXPECT_LT(allocation_probe::Largest(), 64u * 1024);
    EXPECT_EQ(bank.m_strName, u"old name");
    EXPECT_EQ(bank.m_nPeriodMs, 600);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, HugeLengths,
    ::testing::Values(HugeLength{"Marked16Bit", Hex({0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF}),
                                 CArchiveException::endOfFile},
                      HugeLength{"Marked32Bit",
                                 Hex({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF}),
                                 CArchiveException::endOfFile},
                      HugeLength{"Unmarked32Bit", Hex({0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80}),
                                 CArchiveException::endOfFile},
                      HugeLength{"Marked64BitAtTheLargestLength",
                                 Hex({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                      0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x00, 0x00, 0x00}),
                                 CArchiveException::endOfFile},
                      HugeLength{"Marked64BitAboveTheLargestLength",
                                 Hex({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                      0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00}),
                                 CArchiveException::genericException},
                      HugeLength{"Unmarked64BitFarAbove",
                                 Hex({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                      0xFF, 0xFF, 0xFF, 0xFF, 0xFF}),
                                 CArchiveException::genericException}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BankDamage, SixtyFourBitLengthThatFitsIsRead) {
    const Bytes record = Hex({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x02,
                              0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x68, 0x00, 0x69, 0x00});
    CBank bank;
    Load(Int32(1) + Int32(0) + record + Hex({0x00}) + Int32(0) + Int32(0) + Int32(0) + Int32(0) +
             Int32(0) + Hex({0x00}),
         bank);
    EXPECT_EQ(bank.m_strName, u"hi");
}

TEST(BankDamage, ErrorTextsNameAnUnnamedFile) {
    EXPECT_EQ(CArchiveException(CArchiveException::endOfFile).GetErrorMessage(),
              u"An attempt was made to access an unnamed file past its end.");
    EXPECT_EQ(CArchiveException(CArchiveException::genericException).GetErrorMessage(),
              u"An unknown error occurred while accessing an unnamed file.");
    EXPECT_EQ(CArchiveException(CArchiveException::endOfFile, u"bank1.dat").GetErrorMessage(),
              u"An attempt was made to access bank1.dat past its end.");
}

}  // namespace
