// The in-place write of a file that a safe replace cannot swap, on Windows: a kept copy first, the
// new length reserved, the record in one write, and the old content written back when that fails.
#include "platform/win32/in_place_write.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/file.h"
#include "platform/file_faults.h"
#include "platform/win32/os_error.h"
#include "platform/win32/owned_handle.h"

namespace platform::win32 {
namespace {

using Handle = OwnedHandle;

OVERLAPPED At(std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xffffffffu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
}

// Writes all of `bytes` at `offset`; false with the failure's errno-style number in `failure`.
// `budget` is how many bytes the simulated disk still takes; the rest fails as on a full disk.
bool WriteAt(HANDLE file, std::string_view bytes, std::uint64_t offset, std::size_t budget,
             int& failure) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        if (done >= budget) {
            failure = ENOSPC;
            return false;
        }
        const std::size_t chunk =
            std::min<std::size_t>(std::min(bytes.size(), budget) - done, std::size_t{1} << 30);
        OVERLAPPED at = At(offset + done);
        DWORD put = 0;
        if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(chunk), &put, &at)) {
            failure = LastErrno();
            return false;
        }
        done += put;
    }
    return true;
}

bool ReadAll(HANDLE file, std::string& content, int& failure) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        failure = LastErrno();
        return false;
    }
    content.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < content.size()) {
        const std::size_t chunk =
            std::min<std::size_t>(content.size() - done, std::size_t{1} << 30);
        OVERLAPPED at = At(done);
        DWORD got = 0;
        if (!ReadFile(file, content.data() + done, static_cast<DWORD>(chunk), &got, &at)) {
            if (GetLastError() == ERROR_HANDLE_EOF)
                break;
            failure = LastErrno();
            return false;
        }
        if (got == 0)
            break;
        done += got;
    }
    content.resize(done);
    return true;
}

bool SetLength(HANDLE file, std::uint64_t length) {
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(length);
    return SetFilePointerEx(file, to, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

// The program's per-user data folder; empty when the environment names none.
std::wstring DataFolder() {
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    if (!local || !*local)
        return {};
    return std::wstring(local) + L"\\Vorla Metronome\\";
}

// Writes `content` into a new file "NAME.old" (or "NAME.old-2" and on, never over an earlier copy,
// which may be the only good one left) in `folder`, down to the disk. Returns its path, or an
// empty one with the failure in `failure`.
std::wstring KeepCopyIn(const std::wstring& folder, const std::wstring& name,
                        std::string_view content, int& failure) {
    for (int attempt = 1; attempt <= 100; ++attempt) {
        std::wstring copy = folder + name + L".old";
        if (attempt > 1)
            copy += L"-" + std::to_wstring(attempt);
        Handle file(CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid() && GetLastError() == ERROR_FILE_EXISTS)
            continue;
        if (!file.Valid()) {
            failure = LastErrno();
            return {};
        }
        if (WriteAt(file.Get(), content, 0, content.size(), failure) &&
            FlushFileBuffers(file.Get()))
            return copy;
        if (failure == 0)
            failure = LastErrno();
        file.Close();
        DeleteFileW(copy.c_str());
        return {};
    }
    failure = EEXIST;
    return {};
}

// Keeps the old content beside the file, else in the data folder: the copy's path, or empty.
std::wstring KeepCopy(const std::wstring& path, std::string_view content) {
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
    const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    int failure = 0;
    std::wstring copy = KeepCopyIn(folder, name, content, failure);
    const std::wstring data = DataFolder();
    if (copy.empty() && !data.empty()) {
        CreateDirectoryW(data.c_str(), nullptr);
        copy = KeepCopyIn(data, name, content, failure);
    }
    return copy;
}

CString Narrow(const std::wstring& path) {
    return CString(std::u16string(path.begin(), path.end()));
}

}  // namespace

void WriteInPlace(const std::wstring& path, std::string_view record, const CString& target) {
    Handle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        const int failure = LastErrno();
        throw CFileException(CFileException::CauseFromOsError(failure), failure, target);
    }
    std::string old;
    int failure = 0;
    if (!ReadAll(file.Get(), old, failure))
        throw CFileException(CFileException::CauseFromOsError(failure), failure, target);

    // Where no copy can be kept (no data folder to write to either), the save still goes ahead:
    // only a crash in the middle of its one write could then cost the old content.
    const std::wstring copy = KeepCopy(path, old);
    auto failed = [&](int cause) {
        file.Close();
        CFileException error(CFileException::CauseFromOsError(cause), cause, target);
        error.m_strKeptCopy = Narrow(copy);
        return error;
    };

    // The clusters first: a full disk refuses them before a byte of the file has changed. The
    // length past the old end reads as zeros, which a reader of the old record never reaches.
    const std::uint64_t oldLength = old.size();
    const std::uint64_t newLength = record.size();
    if (newLength > oldLength) {
        int refused = 0;
        if (faults::ReserveFails(newLength - oldLength))
            refused = ENOSPC;
        else if (!SetLength(file.Get(), newLength))
            refused = LastErrno();
        if (refused != 0) {
            SetLength(file.Get(), oldLength);
            throw failed(refused);
        }
    }

    // One write of the whole record, then the cut; a failure in either puts the old bytes back.
    failure = 0;
    const bool written =
        WriteAt(file.Get(), record, 0, faults::AllowedWrite(record.size()), failure);
    faults::CrashWhenDue();
    if (written && newLength < oldLength && !SetLength(file.Get(), newLength))
        failure = LastErrno();
    if (written && failure == 0 && faults::FlushFails())
        failure = EIO;
    if (written && failure == 0 && !FlushFileBuffers(file.Get()))
        failure = LastErrno();
    if (!written || failure != 0) {
        int ignored = 0;
        if (WriteAt(file.Get(), old, 0, old.size(), ignored))
            SetLength(file.Get(), oldLength);
        FlushFileBuffers(file.Get());
        throw failed(failure == 0 ? EIO : failure);
    }
    // Written and on the disk: the copy has served.
    file.Close();
    if (!copy.empty())
        DeleteFileW(copy.c_str());
}

}  // namespace platform::win32
