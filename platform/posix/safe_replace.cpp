// The safe replace of a file: write a temporary file beside it, flush, rename it over the target.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "platform/file.h"
#include "platform/file_faults.h"

namespace {

// Holds a descriptor for the length of the replace; closing it drops any lock on it.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

// A name in the target's folder that no other file has; O_EXCL settles a race with another process.
int CreateTemporary(const std::string& target, std::string& tempPath) {
    static unsigned counter = 0;
    const std::filesystem::path path(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Appended piece by piece: GCC 12 misreads `"." + std::string&&` as an overlapping copy.
        std::string name = ".";
        name += path.filename().string();
        name += ".tmp-";
        name += std::to_string(::getpid());
        name += '-';
        name += std::to_string(++counter);
        tempPath = (path.parent_path() / name).string();
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Makes the rename itself durable; a failure here leaves a complete file either way.
void SyncFolder(const std::string& target) {
    const std::string folder = std::filesystem::path(target).parent_path().string();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool CFile::ReplaceSafely(const CString& target, const std::function<void(CFile&)>& writeRecord) {
    const CString fullTarget = GetFullPath(target);
    const std::string targetPath = fullTarget.ToUtf8();

    // The target is held exclusively while it is replaced, as an opener without sharing would.
    Descriptor old(::open(targetPath.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat oldStat {};
    if (old.get() < 0) {
        if (errno != ENOENT)
            return false;
    } else if (::fstat(old.get(), &oldStat) != 0 || S_ISDIR(oldStat.st_mode) ||
               ::flock(old.get(), LOCK_EX | LOCK_NB) != 0) {
        return false;
    }

    std::string tempPath;
    CFile temp;
    temp.fd_ = CreateTemporary(targetPath, tempPath);
    if (temp.fd_ < 0)
        return false;
    temp.path_ = CString::FromUtf8(tempPath);
    if (old.get() >= 0)
        ::fchmod(temp.fd_, oldStat.st_mode & 07777);

    try {
        writeRecord(temp);
        temp.Flush();
        temp.Close();
        if (platform::faults::RenameFails()) {
            throw CFileException(CFileException::hardIO, EIO, fullTarget);
        }
        if (::rename(tempPath.c_str(), targetPath.c_str()) != 0) {
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
    SyncFolder(targetPath);
    return true;
}
