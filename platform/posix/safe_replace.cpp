// The safe replace of a file: write a temporary file beside it, flush, rename it over the target;
// or, where that would split a link or cannot be done, write the target in place (in_place_write).
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/file.h"
#include "platform/file_faults.h"
#include "platform/posix/in_place_write.h"
#include "platform/record_buffer.h"

namespace {

namespace fs = std::filesystem;

// Holds a descriptor for the length of the replace; closing it drops any lock on it.
class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

  private:
    int fd_;
};

[[noreturn]] void Fail(int osError, const CString& target) {
    throw CFileException(CFileException::CauseFromOsError(osError), osError, target);
}
[[noreturn]] void Fail(CFileException::Cause cause, int osError, const CString& target) {
    throw CFileException(cause, osError, target);
}

// The file a name finally stands for, following symbolic links (also one that leads to a file not
// made yet), so that the replace happens beside the file a musician's link points to.
std::string FollowLinks(const std::string& path, const CString& target) {
    fs::path at(path);
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return at.string();
        char buffer[PATH_MAX];
        const ssize_t length = ::readlink(at.c_str(), buffer, sizeof buffer - 1);
        if (length < 0)
            Fail(errno, target);
        const fs::path next(std::string(buffer, static_cast<std::size_t>(length)));
        at = (next.is_absolute() ? next : at.parent_path() / next).lexically_normal();
    }
    Fail(ELOOP, target);
}

// The temporary files are ".NAME.tmp-PID-N" beside NAME.
std::string TemporaryPrefix(const std::string& target) {
    // Appended piece by piece: GCC 12 at -O3 misreads `"." + std::string&&` as an overlapping copy.
    std::string prefix = ".";
    prefix += fs::path(target).filename().string();
    prefix += ".tmp-";
    return prefix;
}

// The process id in a temporary file's name, or 0 when the name is not one of ours.
pid_t WriterOf(const std::string& name, const std::string& prefix) {
    if (name.compare(0, prefix.size(), prefix) != 0)
        return 0;
    const char* digits = name.c_str() + prefix.size();
    char* end = nullptr;
    const long pid = std::strtol(digits, &end, 10);
    if (end == digits || *end != '-' || pid <= 0 || pid > INT_MAX)
        return 0;
    const char* counter = end + 1;
    if (*counter == '\0')
        return 0;
    for (const char* c = counter; *c; ++c) {
        if (*c < '0' || *c > '9')
            return 0;
    }
    return static_cast<pid_t>(pid);
}

// Removes what a save killed half-way left behind. The writer's process must be gone, and the
// file unlocked as a writer holds it, so a save running in another process is never disturbed.
void RemoveStaleTemporaries(const std::string& target) {
    const std::string folder = fs::path(target).parent_path().string();
    const std::string prefix = TemporaryPrefix(target);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        const pid_t writer = WriterOf(name, prefix);
        if (writer == 0 || writer == ::getpid() || ::kill(writer, 0) == 0 || errno != ESRCH)
            continue;
        const std::string path = folder + "/" + name;
        Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
        struct stat st {};
        if (fd.get() >= 0 && ::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode) &&
            ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.c_str());
    }
    ::closedir(dir);
}

// A name in the target's folder that no other file has; O_EXCL settles a race with another
// process, so an existing file is never taken over. Returns -1 with errno set on failure.
int CreateTemporary(const std::string& target, mode_t mode, std::string& tempPath) {
    static unsigned counter = 0;
    if (platform::faults::TemporaryFails()) {
        errno = EACCES;
        return -1;
    }
    const fs::path folder = fs::path(target).parent_path();
    const std::string prefix = TemporaryPrefix(target) + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = (folder / (prefix + std::to_string(++counter))).string();
        const int fd =
            ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0) {
            ::flock(fd, LOCK_EX | LOCK_NB);  // marks it as being written
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    errno = EEXIST;
    return -1;
}

// A descriptor on the target to lock it by, or -1 with errno set. O_NONBLOCK: a pipe or device
// of that name cannot hold the save up; it is refused once its kind is known.
int OpenToHold(const std::string& path) {
    constexpr int kFlags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    const int fd = ::open(path.c_str(), O_RDONLY | kFlags);
    if (fd >= 0 || errno != EACCES)
        return fd;
    return ::open(path.c_str(), O_WRONLY | kFlags);  // may be written but not read
}

// Makes the rename itself durable; a failure here leaves a complete file either way.
void SyncFolder(const std::string& target) {
    const std::string folder = fs::path(target).parent_path().string();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

void CFile::ReplaceSafely(const CString& target, const std::function<void(CFile&)>& writeRecord) {
    const CString fullTarget = GetFullPath(target);
    const std::string realPath = FollowLinks(fullTarget.ToUtf8(), fullTarget);

    // The target is held exclusively while it is replaced, as an opener without sharing would.
    // A file that may be written but not read is held through a writing descriptor.
    Descriptor old(OpenToHold(realPath));
    struct stat oldStat {};
    if (old.get() < 0) {
        if (errno != ENOENT)
            Fail(errno, fullTarget);
    } else if (::fstat(old.get(), &oldStat) != 0) {
        Fail(errno, fullTarget);
    } else if (!S_ISREG(oldStat.st_mode)) {
        Fail(CFileException::notAFile, S_ISDIR(oldStat.st_mode) ? EISDIR : ENODEV, fullTarget);
    } else if (::flock(old.get(), LOCK_EX | LOCK_NB) != 0) {
        Fail(errno, fullTarget);
    }
    const bool exists = old.get() >= 0;

    RemoveStaleTemporaries(realPath);

    // A replace would split a hard link from its other names: those keep the old content.
    bool inPlace = exists && oldStat.st_nlink > 1;
    std::string tempPath;
    CFile temp;
    if (!inPlace) {
        // A new file gets the mode the umask leaves; a replacement starts private and takes the
        // old file's owner and mode before it gets any content.
        temp.fd_ = CreateTemporary(realPath, exists ? 0600 : 0666, tempPath);
        if (temp.fd_ < 0) {
            if (!exists && errno == ENOENT)
                Fail(CFileException::noFolder, ENOENT, fullTarget);
            if (!exists)
                Fail(errno, fullTarget);
            inPlace = true;  // the folder may be closed to us while the file is not
        }
    }

    if (inPlace) {
        // The whole record is made before the file is touched, so that it goes in with one write.
        platform::RecordBuffer record;
        writeRecord(record);
        platform::posix::WriteInPlace(realPath, old.get(), record.Bytes(), fullTarget);
        return;
    }

    temp.path_ = CString::FromUtf8(tempPath);
    if (exists) {
        // The owner first: a change of owner clears the set-id bits that the mode then restores.
        if (::fchown(temp.fd_, oldStat.st_uid, oldStat.st_gid) != 0)
            (void)!::fchown(temp.fd_, static_cast<uid_t>(-1), oldStat.st_gid);
        ::fchmod(temp.fd_, oldStat.st_mode & 07777);
    }

    try {
        writeRecord(temp);
        temp.Flush();
        temp.Close();
        if (platform::faults::RenameFails()) {
            throw CFileException(CFileException::hardIO, EIO, fullTarget);
        }
        if (::rename(tempPath.c_str(), realPath.c_str()) != 0) {
            const int failure = errno;
            throw CFileException(CFileException::CauseFromOsError(failure), failure, fullTarget);
        }
    } catch (const CFileException& e) {
        temp.Abort();
        ::unlink(tempPath.c_str());
        throw CFileException(e.m_cause, e.m_lOsError, fullTarget);
    } catch (...) {
        temp.Abort();
        ::unlink(tempPath.c_str());
        throw;
    }
    SyncFolder(realPath);
}
