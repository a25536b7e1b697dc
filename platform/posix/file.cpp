// CFile on POSIX: open(2) with flock(2) for the exclusive mode, and whole-count reads and writes.
#include "platform/file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_faults.h"

namespace {

[[noreturn]] void Fail(int osError, const CString& path) {
    throw CFileException(CFileException::CauseFromOsError(osError), osError, path);
}

}  // namespace

CFile::~CFile() {
    Abort();
}

bool CFile::Open(const CString& fileName, unsigned flags, CFileException* error) {
    Abort();
    const CString fullPath = GetFullPath(fileName);
    auto refuse = [&](CFileException::Cause cause, int osError) {
        if (error)
            *error = CFileException(cause, osError, fullPath);
        return false;
    };

    int access = O_RDONLY;
    if (flags & modeWrite)
        access = O_WRONLY;
    if (flags & modeReadWrite)
        access = O_RDWR;
    // O_NONBLOCK so that a pipe or a device of that name cannot hold the open up; it is refused
    // below. Truncation waits until the lock is held, so that a refused open leaves the file alone.
    const int fd = ::open(
        fullPath.ToUtf8().c_str(),
        access | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | ((flags & modeCreate) ? O_CREAT : 0), 0666);
    if (fd < 0)
        return refuse(CFileException::CauseFromOsError(errno), errno);

    int failure = 0;
    CFileException::Cause cause = CFileException::none;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        failure = errno;
    } else if (!S_ISREG(st.st_mode)) {
        failure = S_ISDIR(st.st_mode) ? EISDIR : ENODEV;
        cause = CFileException::notAFile;
    } else if ((flags & shareExclusive) && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        failure = errno;
    } else if ((flags & modeCreate) && !(flags & modeNoTruncate) && access != O_RDONLY &&
               ::ftruncate(fd, 0) != 0) {
        failure = errno;
    } else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        failure = errno;
    }
    if (failure != 0) {
        ::close(fd);
        return refuse(
            cause != CFileException::none ? cause : CFileException::CauseFromOsError(failure),
            failure);
    }
    fd_ = fd;
    path_ = fullPath;
    return true;
}

std::size_t CFile::Read(void* buffer, std::size_t count) {
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(fd_, out + done, count - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            Fail(errno, path_);
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

void CFile::Write(const void* buffer, std::size_t count) {
    const auto* in = static_cast<const char*>(buffer);
    const std::size_t allowed = platform::faults::AllowedWrite(count);
    std::size_t done = 0;
    while (done < allowed) {
        const ssize_t put = ::write(fd_, in + done, allowed - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            Fail(errno, path_);
        done += static_cast<std::size_t>(put);
    }
    platform::faults::CrashWhenDue();
    if (allowed < count)
        Fail(ENOSPC, path_);
}

std::uint64_t CFile::GetLength() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        Fail(errno, path_);
    return static_cast<std::uint64_t>(st.st_size);
}

std::uint64_t CFile::GetPosition() const {
    const off_t at = ::lseek(fd_, 0, SEEK_CUR);
    if (at < 0)
        Fail(errno, path_);
    return static_cast<std::uint64_t>(at);
}

void CFile::Flush() {
    if (platform::faults::FlushFails())
        Fail(EIO, path_);
    if (::fsync(fd_) != 0)
        Fail(errno, path_);
}

void CFile::Close() {
    if (fd_ < 0)
        return;
    const int fd = fd_;
    fd_ = -1;
    // The lock goes with the descriptor. A failed close has still released it (POSIX leaves the
    // descriptor's state unspecified, Linux always frees it), so it is never retried.
    if (::close(fd) != 0 && errno != EINTR)
        Fail(errno, path_);
}

void CFile::Abort() {
    if (fd_ < 0)
        return;
    ::close(fd_);
    fd_ = -1;
}
