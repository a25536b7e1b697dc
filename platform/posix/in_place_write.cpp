// The in-place write of a file that a safe replace cannot swap: a kept copy first, the new length
// reserved, the record in one write, and the old content written back when that fails.
#include "platform/posix/in_place_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/file.h"
#include "platform/file_faults.h"

namespace platform::posix {
namespace {

namespace fs = std::filesystem;

// Writes all of `bytes` at `offset`; false with errno set when it cannot. `budget` is how many
// bytes the simulated disk still takes; the rest fails as on a full disk.
bool WriteAt(int fd, std::string_view bytes, off_t offset, std::size_t budget) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        if (done >= budget) {
            errno = ENOSPC;
            return false;
        }
        const ssize_t put = ::pwrite(fd, bytes.data() + done, std::min(bytes.size(), budget) - done,
                                     offset + static_cast<off_t>(done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            return false;
        done += static_cast<std::size_t>(put);
    }
    return true;
}

// The whole content of the file behind `fd`; false with errno set when it cannot be read.
bool ReadAll(int fd, std::string& content) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return false;
    content.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t got =
            ::pread(fd, content.data() + done, content.size() - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    content.resize(done);
    return true;
}

// The program's per-user data folder, as the desktop entry starts the program in it; empty when
// the environment names no home.
fs::path DataFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data == '/')
        return fs::path(data) / "metronome";
    const char* home = std::getenv("HOME");
    if (home && *home)
        return fs::path(home) / ".local" / "share" / "metronome";
    return {};
}

// Writes `content` into a new file "NAME.old" (or "NAME.old-2" and on, never over an earlier
// copy, which may be the only good one left) in `folder`, down to the disk. Returns its path, or
// an empty one with errno set.
std::string KeepCopyIn(const fs::path& folder, const std::string& name, std::string_view content,
                       mode_t mode) {
    for (int attempt = 1; attempt <= 100; ++attempt) {
        std::string copy = (folder / (name + ".old")).string();
        if (attempt > 1)
            copy += "-" + std::to_string(attempt);
        const int fd =
            ::open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return {};
        const bool written = WriteAt(fd, content, 0, content.size()) && ::fsync(fd) == 0;
        const int failure = errno;
        ::close(fd);
        if (written)
            return copy;
        ::unlink(copy.c_str());
        errno = failure;
        return {};
    }
    errno = EEXIST;
    return {};
}

// Keeps the old content beside the file, else in the data folder. Returns the copy's path, or an
// empty one with errno set to the first failure.
std::string KeepCopy(const std::string& path, std::string_view content, mode_t mode) {
    const fs::path file(path);
    const std::string name = file.filename().string();
    std::string copy = KeepCopyIn(file.parent_path(), name, content, mode);
    if (!copy.empty())
        return copy;
    const int besideFailure = errno;
    const fs::path data = DataFolder();
    std::error_code ignored;
    if (!data.empty() && (fs::create_directories(data, ignored), fs::is_directory(data, ignored)))
        copy = KeepCopyIn(data, name, content, mode);
    if (copy.empty())
        errno = besideFailure;
    return copy;
}

}  // namespace

void WriteInPlace(const std::string& path, int readable, std::string_view record,
                  const CString& target) {
    // A file that may be written but not read has no content to keep: it is left alone.
    std::string old;
    if (!ReadAll(readable, old)) {
        const int failure = errno == EBADF ? EACCES : errno;
        throw CFileException(CFileException::CauseFromOsError(failure), failure, target);
    }
    struct stat st {};
    if (::fstat(readable, &st) != 0)
        throw CFileException(CFileException::CauseFromOsError(errno), errno, target);

    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        throw CFileException(CFileException::CauseFromOsError(errno), errno, target);

    // Where no copy can be kept (no home folder to write to either), the save still goes ahead:
    // only a crash in the middle of its one write could then cost the old content.
    const std::string copy = KeepCopy(path, old, st.st_mode & 0666);
    // The error of a failure from here on, which names the copy; the file is closed first.
    auto failed = [&](int failure) {
        ::close(fd);
        CFileException error(CFileException::CauseFromOsError(failure), failure, target);
        error.m_strKeptCopy = CString::FromUtf8(copy);
        return error;
    };

    // The blocks first: a full disk refuses them before a byte of the file has changed. Reserved
    // blocks past the old end read as zeros, which a reader of the old record never reaches.
    const auto oldLength = static_cast<off_t>(old.size());
    const auto newLength = static_cast<off_t>(record.size());
    if (newLength > oldLength) {
        const int refused = faults::ReserveFails(record.size() - old.size())
                                ? ENOSPC
                                : ::posix_fallocate(fd, oldLength, newLength - oldLength);
        if (refused != 0) {
            (void)!::ftruncate(fd, oldLength);
            throw failed(refused);
        }
    }

    // One write of the whole record, then the cut; a failure in either puts the old bytes back.
    int failure = WriteAt(fd, record, 0, faults::AllowedWrite(record.size())) ? 0 : errno;
    faults::CrashWhenDue();
    if (failure == 0 && newLength < oldLength && ::ftruncate(fd, newLength) != 0)
        failure = errno;
    if (failure == 0 && faults::FlushFails())
        failure = EIO;
    if (failure == 0 && ::fsync(fd) != 0)
        failure = errno;
    if (failure != 0) {
        if (WriteAt(fd, old, 0, old.size()))
            (void)!::ftruncate(fd, oldLength);
        ::fsync(fd);
        throw failed(failure);
    }
    // Written and on the disk: the copy has served. A failed close has still closed the file.
    ::close(fd);
    if (!copy.empty())
        ::unlink(copy.c_str());
}

}  // namespace platform::posix
