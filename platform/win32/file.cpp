// CFile on Windows: CreateFileW, with no sharing for the exclusive mode, and whole-count reads and
// writes. The handle is kept as a C runtime descriptor so that CFile looks the same everywhere.
#include "platform/file.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>

#include "platform/file_faults.h"
#include "platform/win32/os_error.h"

namespace {

using platform::win32::LastErrno;

[[noreturn]] void Fail(int osError, const CString& path) {
    throw CFileException(CFileException::CauseFromOsError(osError), osError, path);
}

HANDLE HandleOf(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

const wchar_t* Wide(const CString& text) {
    return reinterpret_cast<const wchar_t*>(text.Str().c_str());
}

}  // namespace

CFile::~CFile() {
    Abort();
}

bool CFile::Open(const CString& fileName, unsigned flags, CFileException* error) {
    Abort();
    const CString fullPath = GetFullPath(fileName);
    auto refuse = [&](int osError) {
        if (error)
            *error = CFileException(CFileException::CauseFromOsError(osError), osError, fullPath);
        return false;
    };

    const DWORD attributes = GetFileAttributesW(Wide(fullPath));
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return refuse(EISDIR);

    DWORD access = GENERIC_READ;
    if (flags & modeWrite)
        access = GENERIC_WRITE;
    if (flags & modeReadWrite)
        access = GENERIC_READ | GENERIC_WRITE;
    const DWORD share = (flags & shareExclusive) ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
    // Truncation waits until the open has succeeded, so that a refused open leaves the file alone.
    const DWORD disposition = (flags & modeCreate) ? OPEN_ALWAYS : OPEN_EXISTING;
    HANDLE handle = CreateFileW(Wide(fullPath), access, share, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return refuse(LastErrno());
    // Only files on a disk: a device or a pipe of that name is not one.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return refuse(ENODEV);
    }
    if ((flags & modeCreate) && !(flags & modeNoTruncate) && access != GENERIC_READ &&
        !SetEndOfFile(handle)) {
        const int failure = LastErrno();
        CloseHandle(handle);
        return refuse(failure);
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return refuse(EMFILE);
    }
    fd_ = fd;
    path_ = fullPath;
    return true;
}

std::size_t CFile::Read(void* buffer, std::size_t count) {
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        DWORD got = 0;
        const auto want = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
        if (!ReadFile(HandleOf(fd_), out + done, want, &got, nullptr))
            Fail(LastErrno(), path_);
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

void CFile::Write(const void* buffer, std::size_t count) {
    const auto* in = static_cast<const char*>(buffer);
    const std::size_t allowed = platform::faults::AllowedWrite(count);
    std::size_t done = 0;
    while (done < allowed) {
        DWORD put = 0;
        const auto want = static_cast<DWORD>(std::min<std::size_t>(allowed - done, 1u << 30));
        if (!WriteFile(HandleOf(fd_), in + done, want, &put, nullptr))
            Fail(LastErrno(), path_);
        done += put;
    }
    if (allowed < count)
        Fail(ENOSPC, path_);
}

std::uint64_t CFile::GetLength() const {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(HandleOf(fd_), &size))
        Fail(LastErrno(), path_);
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::uint64_t CFile::GetPosition() const {
    LARGE_INTEGER zero{}, at{};
    if (!SetFilePointerEx(HandleOf(fd_), zero, &at, FILE_CURRENT))
        Fail(LastErrno(), path_);
    return static_cast<std::uint64_t>(at.QuadPart);
}

void CFile::Flush() {
    if (platform::faults::FlushFails())
        Fail(EIO, path_);
    if (!FlushFileBuffers(HandleOf(fd_)))
        Fail(LastErrno(), path_);
}

void CFile::Close() {
    if (fd_ < 0)
        return;
    const int fd = fd_;
    fd_ = -1;
    // _close closes the handle too; it is never retried.
    if (_close(fd) != 0)
        Fail(EIO, path_);
}

void CFile::Abort() {
    if (fd_ < 0)
        return;
    _close(fd_);
    fd_ = -1;
}
