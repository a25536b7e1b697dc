// A preset through real bank files: open, archive, serialize, close, as a save and a recall do.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/archive_exception.h"
#include "platform/file.h"
#include "tests/presets/bank_bytes.h"
#include "tests/support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

void Save(const CString& name, CBank bank) {
    CFile file;
    ASSERT_TRUE(file.Open(name, CFile::modeWrite | CFile::modeCreate | CFile::modeNoTruncate |
                                    CFile::shareExclusive | CFile::typeBinary));
    CArchive ar(file, CArchive::store);
    bank.Serialize(ar);
    ar.Close();
    file.Close();
}

void Recall(const CString& name, CBank& bank) {
    CFile file;
    ASSERT_TRUE(file.Open(name, CFile::modeRead | CFile::shareExclusive | CFile::typeBinary));
    CArchive ar(file, CArchive::load);
    bank.Serialize(ar);
    ar.Close();
    file.Close();
}

TEST(BankFile, SavedPresetIsRecalledWhole) {
    ScratchFolder folder;
    CBank bank = AndantePreset();
    bank.m_strNotes = std::u16string(9000, u'\u266A');  // longer than the archive's buffer
    Save(folder.Name("bank1.dat"), bank);
    CBank back;
    Recall(folder.Name("bank1.dat"), back);
    EXPECT_EQ(back, bank);
}

TEST(BankFile, ShorterSaveOverALongerFileLeavesItsTailAndRecallsTheShortOne) {
    ScratchFolder folder;
    CBank longer = AndantePreset();
    longer.m_strNotes = u"a long comment that will be shortened";
    Save(folder.Name("bank2.dat"), longer);
    Save(folder.Name("bank2.dat"), AndantePreset());
    EXPECT_EQ(ReadWholeFile(folder / "bank2.dat").size(), Store(longer).size());
    CBank back;
    Recall(folder.Name("bank2.dat"), back);
    EXPECT_EQ(back, AndantePreset());
}

TEST(BankFile, TruncatedFileFailsTheRecallWithEndOfFile) {
    ScratchFolder folder;
    WriteWholeFile(folder / "bank3.dat", Hex({0x58, 0x02, 0x00}));
    CBank bank = AndantePreset();
    CFile file;
    ASSERT_TRUE(file.Open(folder.Name("bank3.dat"), CFile::modeRead | CFile::shareExclusive));
    CArchive ar(file, CArchive::load);
    try {
        bank.Serialize(ar);
        FAIL() << "no error";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.GetErrorMessage(),
                  u"An attempt was made to access an unnamed file past its end.");
    }
    EXPECT_EQ(bank, AndantePreset());
}

// The fuzzer starts from these files, so each must stay a whole, valid bank file.
TEST(BankFile, SeedCorpusHoldsValidBankFiles) {
    const fs::path seeds = fs::path(SOURCE_DIR) / "tests/fuzz/corpus/bank";
    int count = 0;
    for (const auto& entry : fs::directory_iterator(seeds)) {
        SCOPED_TRACE(entry.path().string());
        CBank bank;
        EXPECT_NO_THROW(Recall(CString::FromUtf8(entry.path().string()), bank)) << entry.path();
        ++count;
    }
    EXPECT_GE(count, 3);
    EXPECT_EQ(ReadWholeFile(seeds / "andante.dat"), AndanteBytes());
}

}  // namespace
