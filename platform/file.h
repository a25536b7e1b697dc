// The file layer for the preset files: a small byte file with an exclusive-open mode, the queries a
// save and a recall make first, and a safe replace that never leaves a half-written target behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "base/cstring.h"
#include "base/exception.h"

// A failure of the file layer. Its text names the file by its full path.
class CFileException : public CException {
  public:
    enum Cause {
        none,
        genericException,
        fileNotFound,
        badPath,
        accessDenied,
        sharingViolation,
        diskFull,
        hardIO,
        endOfFile,
        readOnly,  // the file is marked read-only or lies on a read-only disk
        notAFile,  // a folder, a device or a pipe stands where a file was expected
        noFolder,  // the folder meant to hold a new file does not exist (any more)
    };

    CFileException(Cause cause = none, int osError = 0, CString fileName = {})
        : m_cause(cause), m_lOsError(osError), m_strFileName(std::move(fileName)) {}

    // The cause that an operating-system error number stands for.
    static Cause CauseFromOsError(int osError);

    CString GetErrorMessage() const override;

    Cause m_cause;
    int m_lOsError;
    CString m_strFileName;
    CString m_strKeptCopy;  // where a failed in-place write kept the file's old content, if it did
};

// One open file, raw bytes, no text translation. Reads and writes move one shared position, which
// starts at offset 0. The operations other than Open raise CFileException on failure.
class CFile {
  public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareExclusive =
            0x0010,           // an exclusive lock: a file held so by another opener fails to open
        modeCreate = 0x1000,  // create when missing; truncate unless modeNoTruncate is given too
        modeNoTruncate = 0x2000,
        typeBinary = 0x8000,  // the only type there is; accepted for readability at the call site
    };

    CFile() = default;
    virtual ~CFile();  // closes without raising
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // False when the file cannot be opened (missing without modeCreate, held exclusively elsewhere,
    // access denied, not a plain file); the reason goes to *error when given. Only plain files are
    // opened, and the open never waits: a pipe, a device or a folder of that name is refused.
    bool Open(const CString& fileName, unsigned flags, CFileException* error = nullptr);
    bool IsOpen() const { return fd_ >= 0; }
    const CString& GetFilePath() const { return path_; }  // the full path given at Open

    // Reads up to count bytes and returns how many it got; fewer only at the end of the file.
    virtual std::size_t Read(void* buffer, std::size_t count);
    // Writes all count bytes or raises; a full disk is diskFull.
    virtual void Write(const void* buffer, std::size_t count);
    virtual std::uint64_t GetLength() const;
    virtual std::uint64_t GetPosition() const;
    virtual void Flush();  // down to the disk
    virtual void Close();
    void Abort();  // closes without raising

    // Queries on a name resolved against the current directory at the moment of the call.
    static bool Exists(const CString& fileName);      // anything of that name, a folder too
    static bool IsReadOnly(const CString& fileName);  // false when it does not exist
    static CString GetFullPath(const CString& fileName);

    // Replaces the target's content safely: writeRecord writes the whole new content into a fresh
    // temporary file in the target's folder, which is flushed to the disk and renamed over the
    // target. A symbolic link is followed and the file it leads to is replaced; its owner, group
    // and mode are kept where the process may set them. The target is written in place instead
    // (and cut to the new length) when it has further hard links, or when the temporary file
    // cannot be made but the target itself can be written. Temporary files left by a save of this
    // target in a process that no longer runs are removed first.
    //
    // Raises a CFileException naming the target's full path when nothing could be written (held
    // exclusively by another opener, not a plain file, no permission, a read-only disk) and when
    // writing fails; then a temporary file is removed and the target keeps its old content. Any
    // other error from writeRecord passes through after the same clean-up. An in-place write
    // first keeps a copy of the old content (see the backends' in_place_write.h), which a failure
    // names in m_strKeptCopy; a crash part-way leaves that copy behind.
    static void ReplaceSafely(const CString& target,
                              const std::function<void(CFile&)>& writeRecord);

  private:
    int fd_ = -1;
    CString path_;
};

namespace platform {

// Simulated failures of the file layer, so that tests can produce a full disk without a real one.
struct FileFaults {
    // Bytes that all files together may still write; a write beyond them writes what fits and then
    // fails as on a full disk.
    std::optional<std::uint64_t> writeLimit;
    // Bytes that all files together may still write before the process ends at once, as when it
    // is killed; it writes what fits first. Kept by the POSIX file layer.
    std::optional<std::uint64_t> crashAfter;
    bool failFlush = false;   // Flush fails as with an I/O error
    bool failRename = false;  // the rename of a safe replace fails as with an I/O error
    // Making the temporary file of a safe replace is refused as in a folder without write
    // permission, which the superuser cannot produce with a real folder.
    bool failTemporary = false;
};

// The exit status of a process that a simulated crash ended.
inline constexpr int kCrashStatus = 137;

// Installs the faults; a default FileFaults turns them all off. For tests on one thread only.
void InjectFileFaults(const FileFaults& faults);

}  // namespace platform
