// The file layer: opening modes, the exclusive lock, and the questions asked before an open.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "platform/file.h"
#include "tests/presets/bank_bytes.h"
#include "tests/support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

constexpr unsigned kReadAlone = CFile::modeRead | CFile::shareExclusive | CFile::typeBinary;
constexpr unsigned kWriteAlone = CFile::modeWrite | CFile::shareExclusive | CFile::typeBinary;

TEST(File, ExclusiveOpenRefusesASecondOpenerUntilClosed) {
    ScratchFolder folder;
    WriteWholeFile(folder / "bank1.dat", Hex({1, 2, 3}));
    CFile first;
    ASSERT_TRUE(first.Open(folder.Name("bank1.dat"), kReadAlone));

    for (const unsigned flags : {kReadAlone, kWriteAlone, kWriteAlone | CFile::modeCreate}) {
        SCOPED_TRACE(testing::Message() << "flags " << flags);
        CFile second;
        CFileException error;
        EXPECT_FALSE(second.Open(folder.Name("bank1.dat"), flags, &error));
        EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
        EXPECT_FALSE(second.IsOpen());
    }

    first.Close();  // on Windows the hold keeps every other reader out too
    EXPECT_EQ(ReadWholeFile(folder / "bank1.dat"), Hex({1, 2, 3}));  // not truncated by a refusal
    CFile third;
    EXPECT_TRUE(third.Open(folder.Name("bank1.dat"), kWriteAlone));
}

TEST(File, OpenForReadingNeedsAFileThatExistsAndIsNoFolder) {
    ScratchFolder folder;
    fs::create_directory(folder / "bank2.dat");
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(folder.Name("bank1.dat"), kReadAlone, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_strFileName, folder.Name("bank1.dat"));
    EXPECT_FALSE(file.Open(folder.Name("bank2.dat"), kReadAlone, &error));
    EXPECT_EQ(error.m_cause, CFileException::notAFile);
    EXPECT_FALSE(CFile::Exists(folder.Name("bank1.dat")));
    EXPECT_TRUE(CFile::Exists(folder.Name("bank2.dat")));
}

TEST(File, WritingWithoutTruncationKeepsTheTailAndCreateTruncates) {
    ScratchFolder folder;
    WriteWholeFile(folder / "bank1.dat", Hex({1, 2, 3, 4, 5}));
    {
        CFile file;
        ASSERT_TRUE(file.Open(folder.Name("bank1.dat"),
                              kWriteAlone | CFile::modeCreate | CFile::modeNoTruncate));
        file.Write(Hex({9, 9}).data(), 2);
        EXPECT_EQ(file.GetPosition(), 2u);
        EXPECT_EQ(file.GetLength(), 5u);
        file.Close();
    }
    EXPECT_EQ(ReadWholeFile(folder / "bank1.dat"), Hex({9, 9, 3, 4, 5}));
    {
        CFile file;
        ASSERT_TRUE(file.Open(folder.Name("bank1.dat"), kWriteAlone | CFile::modeCreate));
        EXPECT_EQ(file.GetLength(), 0u);
    }
    {
        CFile file;
        ASSERT_TRUE(file.Open(folder.Name("new.dat"), kWriteAlone | CFile::modeCreate));
    }
    EXPECT_TRUE(CFile::Exists(folder.Name("new.dat")));
}

TEST(File, ReadReportsTheBytesItGot) {
    ScratchFolder folder;
    WriteWholeFile(folder / "bank1.dat", Hex({1, 2, 3, 4, 5}));
    CFile file;
    ASSERT_TRUE(file.Open(folder.Name("bank1.dat"), kReadAlone));
    Bytes got(8);
    EXPECT_EQ(file.Read(got.data(), 3), 3u);
    EXPECT_EQ(file.Read(got.data() + 3, 5), 2u);
    EXPECT_EQ(file.Read(got.data(), 5), 0u);
    got.resize(5);
    EXPECT_EQ(got, Hex({1, 2, 3, 4, 5}));
}

TEST(File, ReadOnlyMeansNoWriteBitOrNoPermissionForUs) {
    ScratchFolder folder;
    WriteWholeFile(folder / "bank1.dat", Hex({1}));
    EXPECT_FALSE(CFile::IsReadOnly(folder.Name("bank1.dat")));
    fs::permissions(folder / "bank1.dat", fs::perms::owner_read | fs::perms::group_read);
    EXPECT_TRUE(CFile::IsReadOnly(folder.Name("bank1.dat")));  // also when run as the superuser
    EXPECT_FALSE(CFile::IsReadOnly(folder.Name("missing.dat")));
}

TEST(File, FullPathResolvesAgainstTheCurrentFolderAtThatMoment) {
    ScratchFolder folder;
    const fs::path before = fs::current_path();
    fs::current_path(folder.path());
    const CString full = CFile::GetFullPath(u"bank3.dat");
    const CString dotted = CFile::GetFullPath(u"./x/../bank3.dat");
    fs::current_path(before);
    EXPECT_EQ(full, CString::FromUtf8((fs::canonical(folder.path()) / "bank3.dat").string()));
    EXPECT_EQ(dotted, full);
    EXPECT_EQ(CFile::GetFullPath(full), full);
}

TEST(File, ErrorTextNamesTheFile) {
    const CFileException full(CFileException::diskFull, ENOSPC, u"/home/player/bank1.dat");
    EXPECT_NE(full.GetErrorMessage().ToUtf8().find("/home/player/bank1.dat"), std::string::npos);
    EXPECT_EQ(CFileException::CauseFromOsError(ENOSPC), CFileException::diskFull);
}

}  // namespace
