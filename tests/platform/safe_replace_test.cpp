// The safe replace of a bank file: the new content arrives whole or the old one stays.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/file.h"
#include "tests/presets/bank_bytes.h"
#include "tests/support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

// Turns off every simulated failure when the test ends, whatever happens.
class FaultScope {
  public:
    explicit FaultScope(const platform::FileFaults& faults) { platform::InjectFileFaults(faults); }
    ~FaultScope() { platform::InjectFileFaults({}); }
};

platform::FileFaults DiskFullAfter(std::uint64_t bytes) {
    platform::FileFaults faults;
    faults.writeLimit = bytes;
    return faults;
}

platform::FileFaults FailingFlush() {
    platform::FileFaults faults;
    faults.failFlush = true;
    return faults;
}

platform::FileFaults FailingRename() {
    platform::FileFaults faults;
    faults.failRename = true;
    return faults;
}

void WriteBank(CFile& file, const CBank& bank) {
    CArchive ar(file, CArchive::store);
    CBank copy = bank;
    copy.Serialize(ar);
    ar.Close();
}

CBank LongComments() {
    CBank bank = AndantePreset();
    bank.m_strNotes = std::u16string(20000, u'n');
    return bank;
}

TEST(SafeReplace, WritesTheWholeRecordWithoutAnOldTail) {
    ScratchFolder folder;
    WriteWholeFile(folder / "bank1.dat", Store(LongComments()));
    fs::permissions(folder / "bank1.dat",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    CFile::ReplaceSafely(folder.Name("bank1.dat"),
                         [](CFile& file) { WriteBank(file, AndantePreset()); });
    EXPECT_EQ(ReadWholeFile(folder / "bank1.dat"), AndanteBytes());
#ifndef _WIN32  // Windows keeps only a read-only attribute, which this target does not have
    EXPECT_EQ(fs::status(folder / "bank1.dat").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
#endif
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"bank1.dat"});
}

TEST(SafeReplace, CreatesAMissingTarget) {
    ScratchFolder folder;
    CFile::ReplaceSafely(folder.Name("bank4.dat"),
                         [](CFile& file) { WriteBank(file, AndantePreset()); });
    EXPECT_EQ(ReadWholeFile(folder / "bank4.dat"), AndanteBytes());
}

struct Failure {
    const char* name;
    platform::FileFaults faults;
    CFileException::Cause cause;
};

std::ostream& operator<<(std::ostream& os, const Failure& f) {
    return os << f.name;
}

class SafeReplaceFailures : public ::testing::TestWithParam<Failure> {};

TEST_P(SafeReplaceFailures, KeepTheOldFileAndNameTheTarget) {
    ScratchFolder folder;
    const Bytes old = Store(AndantePreset());
    WriteWholeFile(folder / "bank2.dat", old);
    FaultScope faults(GetParam().faults);
    try {
        CFile::ReplaceSafely(folder.Name("bank2.dat"),
                             [](CFile& file) { WriteBank(file, LongComments()); });
        FAIL() << "the replace succeeded";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, GetParam().cause);
        EXPECT_EQ(e.m_strFileName, CFile::GetFullPath(folder.Name("bank2.dat")));
        EXPECT_NE(e.GetErrorMessage().ToUtf8().find((folder / "bank2.dat").string()),
                  std::string::npos);
    }
    EXPECT_EQ(ReadWholeFile(folder / "bank2.dat"), old);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"bank2.dat"});
}

INSTANTIATE_TEST_SUITE_P(
    SimulatedFaults, SafeReplaceFailures,
    ::testing::Values(Failure{"DiskFullAtOnce", DiskFullAfter(0), CFileException::diskFull},
                      Failure{"DiskFullInTheMiddle", DiskFullAfter(5000), CFileException::diskFull},
                      Failure{"FlushFails", FailingFlush(), CFileException::hardIO},
                      Failure{"RenameFails", FailingRename(), CFileException::hardIO}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SafeReplace, OtherErrorsPassThroughAfterCleaningUp) {
    ScratchFolder folder;
    WriteWholeFile(folder / "bank3.dat", AndanteBytes());
    EXPECT_THROW(CFile::ReplaceSafely(folder.Name("bank3.dat"),
                                      [](CFile& file) {
                                          file.Write("x", 1);
                                          throw std::runtime_error("broken off");
                                      }),
                 std::runtime_error);
    EXPECT_EQ(ReadWholeFile(folder / "bank3.dat"), AndanteBytes());
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"bank3.dat"});
}

TEST(SafeReplace, RefusesATargetHeldByAnotherOpener) {
    ScratchFolder folder;
    WriteWholeFile(folder / "bank5.dat", AndanteBytes());
    CFile holder;
    ASSERT_TRUE(holder.Open(folder.Name("bank5.dat"), CFile::modeRead | CFile::shareExclusive));
    bool called = false;
    try {
        CFile::ReplaceSafely(folder.Name("bank5.dat"), [&](CFile&) { called = true; });
        FAIL() << "replaced a file held by another opener";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::sharingViolation);
        EXPECT_EQ(e.m_strFileName, CFile::GetFullPath(folder.Name("bank5.dat")));
    }
    EXPECT_FALSE(called);
    holder.Close();  // on Windows the hold keeps every other reader out too
    EXPECT_EQ(ReadWholeFile(folder / "bank5.dat"), AndanteBytes());
}

// A folder closed to new files: the bank file is written in place, and cut to the new record.
TEST(SafeReplace, WritesInPlaceWhenNoTemporaryFileCanBeMade) {
    ScratchFolder folder;
    WriteWholeFile(folder / "bank1.dat", Store(LongComments()));
    platform::FileFaults closed;
    closed.failTemporary = true;
    FaultScope faults(closed);
    CFile::ReplaceSafely(folder.Name("bank1.dat"),
                         [](CFile& file) { WriteBank(file, AndantePreset()); });
    EXPECT_EQ(ReadWholeFile(folder / "bank1.dat"), AndanteBytes());
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"bank1.dat"});

    // Without a file to write into there is nothing to fall back on: the error names the file.
    try {
        CFile::ReplaceSafely(folder.Name("bank2.dat"),
                             [](CFile& file) { WriteBank(file, AndantePreset()); });
        FAIL() << "a file was made where none could be";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::accessDenied);
        EXPECT_EQ(e.m_strFileName, CFile::GetFullPath(folder.Name("bank2.dat")));
    }
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"bank1.dat"});
}

TEST(SafeReplace, DirectWriteOnAFullDiskRaisesDiskFull) {
    ScratchFolder folder;
    FaultScope faults(DiskFullAfter(10));
    CFile file;
    ASSERT_TRUE(file.Open(folder.Name("bank6.dat"), CFile::modeWrite | CFile::modeCreate));
    try {
        WriteBank(file, AndantePreset());
        FAIL() << "wrote past the limit";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::diskFull);
        EXPECT_EQ(e.m_strFileName, folder.Name("bank6.dat"));
    }
    file.Close();
    EXPECT_EQ(ReadWholeFile(folder / "bank6.dat"),
              Bytes(AndanteBytes().begin(), AndanteBytes().begin() + 10));
}

// A real full disk, where the system lets a test mount a tiny tmpfs; skipped elsewhere.
TEST(SafeReplace, RealFullDiskKeepsTheOldFile) {
    const char* tiny = std::getenv("METRONOME_TINY_TMPFS");
    if (!tiny)
        GTEST_SKIP() << "set METRONOME_TINY_TMPFS to a mounted tmpfs of a few KiB";
    const fs::path target = fs::path(tiny) / "bank7.dat";
    WriteWholeFile(target, AndanteBytes());
    CBank huge = AndantePreset();
    huge.m_strNotes = std::u16string(1 << 20, u'h');
    EXPECT_THROW(CFile::ReplaceSafely(CString::FromUtf8(target.string()),
                                      [&](CFile& file) { WriteBank(file, huge); }),
                 CFileException);
    EXPECT_EQ(ReadWholeFile(target), AndanteBytes());
    fs::remove(target);
}

// A save of a much longer record that fails: the old record is still there, and the failure names
// a copy of it that it kept.
void ExpectOldRecordAndKeptCopy(const fs::path& bank, const Bytes& old) {
    try {
        CFile::ReplaceSafely(CString::FromUtf8(bank.string()), [](CFile& file) {
            CBank huge = AndantePreset();
            huge.m_strNotes = std::u16string(100000, u'h');
            WriteBank(file, huge);
        });
        ADD_FAILURE() << "the save went through";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::diskFull);
        EXPECT_EQ(ReadWholeFile(bank), old);
        const std::string copy = e.m_strKeptCopy.ToUtf8();
        ASSERT_FALSE(copy.empty());
        EXPECT_EQ(ReadWholeFile(copy), old);
        EXPECT_NE(e.GetErrorMessage().ToUtf8().find(copy), std::string::npos);
    }
}

// The two kinds of in-place write (a hard-linked file, which every name must see changed, and a
// folder closed to new files), on a disk that is full before the new length can be reserved and
// on one that fills part-way through the write: the old record stays under every name, a copy is
// kept and named, and a second failed save keeps a copy of its own beside the first.
TEST(SafeReplace, AnInPlaceWriteThatFailsKeepsTheOldRecordAndACopyOfIt) {
    for (const bool hardLink : {true, false}) {
        for (const std::uint64_t room : {std::uint64_t{100}, std::uint64_t{197000}}) {
            SCOPED_TRACE(testing::Message() << (hardLink ? "hard link" : "closed folder") << ", "
                                            << room << " bytes of room");
            ScratchFolder folder;
            const Bytes old = Store(LongComments());
            WriteWholeFile(folder / "bank1.dat", old);
            platform::FileFaults faults = DiskFullAfter(room);
            if (hardLink)
                fs::create_hard_link(folder / "bank1.dat", folder / "backup.dat");
            else
                faults.failTemporary = true;
            {
                FaultScope first(faults);
                ExpectOldRecordAndKeptCopy(folder / "bank1.dat", old);
            }
            FaultScope second(faults);
            ExpectOldRecordAndKeptCopy(folder / "bank1.dat", old);
            EXPECT_EQ(ReadWholeFile(folder / "bank1.dat.old"), old);
            EXPECT_EQ(ReadWholeFile(folder / "bank1.dat.old-2"), old);
            if (hardLink) {
                EXPECT_EQ(ReadWholeFile(folder / "backup.dat"), old);
            }
        }
    }
}

}  // namespace
