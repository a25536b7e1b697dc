// The file layer on POSIX systems against what may stand in a bank file's place: pipes, devices
// and folders (refused at once, never waited on), symbolic and hard links, another owner, stale
// temporary files, a folder closed to us and a read-only disk.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/file.h"
#include "tests/presets/bank_bytes.h"
#include "tests/support/child_process.h"
#include "tests/support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

void WriteBank(CFile& file, const CBank& bank) {
    CArchive ar(file, CArchive::store);
    CBank copy = bank;
    copy.Serialize(ar);
    ar.Close();
}

void ReplaceWithAndante(const CString& name) {
    CFile::ReplaceSafely(name, [](CFile& file) { WriteBank(file, AndantePreset()); });
}

CBank LongComments() {
    CBank bank = AndantePreset();
    bank.m_strNotes = std::u16string(3000, u'n');
    return bank;
}

// The cause that a replace raised, or `none` when it replaced.
CFileException::Cause ReplaceFailure(const CString& name) {
    try {
        ReplaceWithAndante(name);
        return CFileException::none;
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_strFileName, CFile::GetFullPath(name));
        return e.m_cause;
    }
}

TEST(FileKinds, PipesDevicesAndFoldersAreRefusedWithoutWaiting) {
    ScratchFolder folder;
    ASSERT_EQ(::mkfifo((folder / "bank1.dat").c_str(), 0666), 0);
    fs::create_symlink("/dev/zero", folder / "bank2.dat");
    fs::create_directory(folder / "bank3.dat");
    const struct {
        const char* name;
        CFileException::Cause cause;
    } cases[] = {{"bank1.dat", CFileException::notAFile},
                 {"bank2.dat", CFileException::notAFile},
                 {"bank3.dat", CFileException::notAFile}};
    for (const auto& c : cases) {
        const CString name = folder.Name(c.name);
        // In a child, so that an open that blocks fails the test instead of hanging it.
        const int status = RunInChild([&] {
            for (const unsigned flags :
                 {unsigned{CFile::modeRead | CFile::shareExclusive}, unsigned{CFile::modeRead},
                  unsigned{CFile::modeWrite | CFile::modeCreate | CFile::modeNoTruncate}}) {
                CFile file;
                CFileException error;
                if (file.Open(name, flags, &error) || error.m_cause != c.cause)
                    return 1;
            }
            return ReplaceFailure(name) == c.cause ? 0 : 2;
        });
        EXPECT_EQ(status, 0) << c.name << (status == -1 ? ": the open blocked" : "");
    }
    EXPECT_EQ(fs::status(folder / "bank1.dat").type(), fs::file_type::fifo);
    EXPECT_TRUE(fs::is_symlink(folder / "bank2.dat"));
}

TEST(FileKinds, ASymbolicLinkIsFollowedAndItsTargetReplacedBesideIt) {
    ScratchFolder folder;
    fs::create_directory(folder / "synced");
    WriteWholeFile(folder / "synced" / "preset-one.dat", Store(LongComments()));
    fs::create_directory(folder / "work");
    fs::create_symlink("../synced/preset-one.dat", folder / "work" / "bank1.dat");

    ReplaceWithAndante(folder.Name("work/bank1.dat"));

    EXPECT_TRUE(fs::is_symlink(folder / "work" / "bank1.dat"));
    EXPECT_EQ(ReadWholeFile(folder / "synced" / "preset-one.dat"), AndanteBytes());
    EXPECT_EQ(fs::directory_iterator(folder / "work")->path().filename(), "bank1.dat");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "synced"), {}), 1);

    // A link whose file is not there yet makes that file.
    fs::create_symlink(folder / "synced" / "preset-two.dat", folder / "work" / "bank2.dat");
    ReplaceWithAndante(folder.Name("work/bank2.dat"));
    EXPECT_TRUE(fs::is_symlink(folder / "work" / "bank2.dat"));
    EXPECT_EQ(ReadWholeFile(folder / "synced" / "preset-two.dat"), AndanteBytes());

    // A loop of links is an error that names the bank file, not a hang.
    fs::create_symlink("bank4.dat", folder / "work" / "bank3.dat");
    fs::create_symlink("bank3.dat", folder / "work" / "bank4.dat");
    EXPECT_EQ(ReplaceFailure(folder.Name("work/bank3.dat")), CFileException::badPath);
}

TEST(FileKinds, AHardLinkedFileIsWrittenInPlaceSoEveryNameSeesIt) {
    ScratchFolder folder;
    WriteWholeFile(folder / "bank1.dat", Store(LongComments()));
    fs::create_hard_link(folder / "bank1.dat", folder / "backup.dat");
    ReplaceWithAndante(folder.Name("bank1.dat"));
    EXPECT_EQ(ReadWholeFile(folder / "bank1.dat"), AndanteBytes());  // cut to the new record
    EXPECT_EQ(ReadWholeFile(folder / "backup.dat"), AndanteBytes());
    EXPECT_EQ(fs::hard_link_count(folder / "bank1.dat"), 2u);
    EXPECT_EQ(folder.Entries().size(), 2u);
}

TEST(FileKinds, OwnerGroupAndModeAreKept) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the superuser can give a file to another owner";
    ScratchFolder folder;
    const fs::path bank = folder / "bank1.dat";
    WriteWholeFile(bank, Store(LongComments()));
    ASSERT_EQ(::chown(bank.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chmod(bank.c_str(), 0640), 0);
    ReplaceWithAndante(folder.Name("bank1.dat"));
    struct stat st {};
    ASSERT_EQ(::stat(bank.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, kNobody);
    EXPECT_EQ(st.st_gid, kNobody);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_nlink, 1u);  // replaced, not written in place
    EXPECT_EQ(ReadWholeFile(bank), AndanteBytes());
}

TEST(FileKinds, StaleTemporaryFilesOfEndedSavesGoAndNothingElse) {
    ScratchFolder folder;
    const pid_t ended = ::fork();
    if (ended == 0)
        ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    const std::string dead = std::to_string(ended);
    const std::vector<std::string> stale = {".bank1.dat.tmp-" + dead + "-1",
                                            ".bank1.dat.tmp-" + dead + "-17"};
    const std::vector<std::string> kept = {
        ".bank1.dat.tmp-1-1",              // process 1 runs
        ".bank1.dat.tmp-" + dead + "-1x",  // not a name this program makes
        ".bank1.dat.tmp-notes",            // the user's
        ".bank2.dat.tmp-" + dead + "-1",   // another preset's, removed at its own save
        "bank1.dat.tmp-" + dead + "-1",    // not hidden: not ours
    };
    for (const auto& name : stale)
        WriteWholeFile(folder / name, Hex({1}));
    for (const auto& name : kept)
        WriteWholeFile(folder / name, Hex({2}));

    ReplaceWithAndante(folder.Name("bank1.dat"));

    for (const auto& name : stale)
        EXPECT_FALSE(fs::exists(folder / name)) << name;
    for (const auto& name : kept)
        EXPECT_EQ(ReadWholeFile(folder / name), Hex({2})) << name;
    EXPECT_EQ(ReadWholeFile(folder / "bank1.dat"), AndanteBytes());
}

// A folder that the saving user may not write to, holding a bank file that user may write: the
// file is written in place. Run as "nobody", since the superuser may write to any folder.
TEST(FileKinds, AFolderClosedToTheUserGetsAnInPlaceWrite) {
    ScratchFolder folder;
    const fs::path bank = folder / "bank1.dat";
    WriteWholeFile(bank, Store(LongComments()));
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(bank.c_str(), kNobody, kNobody), 0);
        ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
    } else {
        ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
    }
    // The copy of the old record that an in-place write keeps while it writes goes to the data
    // folder, and is gone again after the save.
    ScratchFolder data;
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(data.path().c_str(), kNobody, kNobody), 0);
    }
    const int status = RunInChild([&] {
        ::setenv("XDG_DATA_HOME", data.path().c_str(), 1);
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            return 10;
        ReplaceWithAndante(folder.Name("bank1.dat"));
        if (fs::exists(data.path() / "metronome") && !fs::is_empty(data.path() / "metronome"))
            return 12;
        // A bank file that does not exist yet cannot be made there.
        return ReplaceFailure(folder.Name("bank2.dat")) == CFileException::accessDenied ? 0 : 11;
    });
    ::chmod(folder.path().c_str(), 0755);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadWholeFile(bank), AndanteBytes());
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"bank1.dat"});
}

// Fills the disk that holds `folder` up to its last few free pages.
void FillDisk(const fs::path& folder) {
    const int fd = ::open((folder / "filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const std::string page(4096, 'f');
    off_t length = 0;
    while (::pwrite(fd, page.data(), page.size(), length) == static_cast<ssize_t>(page.size()))
        length += static_cast<off_t>(page.size());
    (void)!::ftruncate(fd, length > 8192 ? length - 8192 : 0);
    ::close(fd);
}

// The file holds the old record, and a failure names the copy kept beside the file or in the data
// folder, which holds the old record too.
int ExpectOldRecordAndKeptCopy(const fs::path& bank, const Bytes& old) {
    try {
        CFile::ReplaceSafely(CString::FromUtf8(bank.string()), [](CFile& file) {
            CBank huge = AndantePreset();
            huge.m_strNotes = std::u16string(100000, u'h');
            WriteBank(file, huge);
        });
        return 20;
    } catch (const CFileException& e) {
        if (e.m_cause != CFileException::diskFull)
            return 21;
        if (ReadWholeFile(bank) != old)
            return 22;
        const std::string copy = e.m_strKeptCopy.ToUtf8();
        if (copy.empty() || ReadWholeFile(copy) != old)
            return 23;
        if (e.GetErrorMessage().ToUtf8().find(copy) == std::string::npos)
            return 24;
    }
    return 0;
}

// A full disk under a hard-linked bank file and under one in a folder closed to the user: both are
// written in place, and the old record stays, with a copy kept where the message says.
TEST(FileKinds, AFullDiskUnderAnInPlaceWriteKeepsTheOldRecord) {
    for (const bool closedFolder : {false, true}) {
        SCOPED_TRACE(closedFolder ? "folder closed to the user" : "hard link");
        if (closedFolder && ::geteuid() != 0)
            GTEST_SKIP() << "only the superuser can act as another user here";
        ScratchFolder folder;
        const fs::path disk = folder / "disk";
        const fs::path data = folder / "data";
        fs::create_directories(disk);
        fs::create_directories(data);
        if (::geteuid() == 0) {  // the closed folder's user keeps its copies there
            ASSERT_EQ(::chown(data.c_str(), kNobody, kNobody), 0);
        }
        const Bytes old = Store(LongComments());
        const int status = RunInChild([&] {
            if (::unshare(CLONE_NEWNS) != 0 ||
                ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                ::mount("none", disk.c_str(), "tmpfs", 0, "size=64k,mode=0755") != 0)
                return 77;
            const fs::path bank = disk / "bank1.dat";
            WriteWholeFile(bank, old);
            if (closedFolder) {
                if (::chown(bank.c_str(), kNobody, kNobody) != 0)
                    return 10;
            } else {
                fs::create_hard_link(bank, disk / "backup.dat");
            }
            FillDisk(disk);
            ::setenv("XDG_DATA_HOME", data.c_str(), 1);
            if (closedFolder && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
                return 11;
            return ExpectOldRecordAndKeptCopy(bank, old);
        });
        if (status == 77)
            GTEST_SKIP() << "no permission to make a mount";
        EXPECT_EQ(status, 0);
    }
}

// The saving process killed at every stage of an in-place write over a hard-linked file: the file,
// under both names, holds the old record or the new one, or else a copy kept beside it holds the
// old one.
TEST(FileKinds, AnInPlaceWriteKilledAnywhereLeavesARecordOrACopyOfTheOldOne) {
    const Bytes old = Store(LongComments());
    CBank huge = AndantePreset();
    huge.m_strNotes = std::u16string(20000, u'h');
    const Bytes fresh = Store(huge);
    for (const std::uint64_t killedAfter :
         {std::uint64_t{0}, std::uint64_t{1}, std::uint64_t{4096}, std::uint64_t{4097},
          std::uint64_t{old.size()}, std::uint64_t{fresh.size() / 2},
          std::uint64_t{fresh.size() - 1}}) {
        SCOPED_TRACE(testing::Message() << "killed after " << killedAfter << " bytes");
        ScratchFolder folder;
        WriteWholeFile(folder / "bank1.dat", old);
        fs::create_hard_link(folder / "bank1.dat", folder / "backup.dat");
        const int status = RunInChild([&] {
            platform::FileFaults faults;
            faults.crashAfter = killedAfter;
            platform::InjectFileFaults(faults);
            CFile::ReplaceSafely(folder.Name("bank1.dat"),
                                 [&](CFile& file) { WriteBank(file, huge); });
            return 0;
        });
        EXPECT_EQ(status, platform::kCrashStatus);
        const Bytes left = ReadWholeFile(folder / "bank1.dat");
        EXPECT_EQ(ReadWholeFile(folder / "backup.dat"), left);
        if (left != old && left != fresh) {
            EXPECT_EQ(ReadWholeFile(folder / "bank1.dat.old"), old) << left.size() << " bytes left";
        }
    }
}

// A read-only mount, in a mount namespace of the child's own where the test may make one.
TEST(FileKinds, AReadOnlyDiskLeavesTheFileAsItWasAndSaysSo) {
    ScratchFolder folder;
    const fs::path mountPoint = folder / "disk";
    fs::create_directory(mountPoint);
    const Bytes old = Store(LongComments());
    const int status = RunInChild([&] {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("none", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0)
            return 77;
        WriteWholeFile(mountPoint / "bank1.dat", old);
        if (::mount(nullptr, mountPoint.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            return 77;
        if (!CFile::IsReadOnly(CString::FromUtf8((mountPoint / "bank1.dat").string())))
            return 1;
        if (ReplaceFailure(CString::FromUtf8((mountPoint / "bank1.dat").string())) !=
            CFileException::readOnly)
            return 2;
        return ReadWholeFile(mountPoint / "bank1.dat") == old ? 0 : 3;
    });
    if (status == 77)
        GTEST_SKIP() << "no permission to make a mount";
    EXPECT_EQ(status, 0);
}

TEST(FileKinds, ErrorTextsSayWhatStoodInTheWay) {
    const CString path = u"/home/player/bank1.dat";
    for (const auto cause : {CFileException::readOnly, CFileException::notAFile,
                             CFileException::sharingViolation, CFileException::accessDenied}) {
        const std::string text = CFileException(cause, 0, path).GetErrorMessage().ToUtf8();
        EXPECT_NE(text.find("/home/player/bank1.dat"), std::string::npos) << text;
    }
    EXPECT_EQ(CFileException::CauseFromOsError(EROFS), CFileException::readOnly);
    EXPECT_EQ(CFileException::CauseFromOsError(ENXIO), CFileException::notAFile);
}

}  // namespace
