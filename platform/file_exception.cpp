// The texts of the file layer's errors and the mapping from operating-system error numbers.
#include <cerrno>

#include "platform/file.h"

CFileException::Cause CFileException::CauseFromOsError(int osError) {
    switch (osError) {
        case 0:
            return none;
        case ENOENT:
            return fileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return badPath;
        case EACCES:
        case EPERM:
            return accessDenied;
        case EROFS:
            return readOnly;
        case EISDIR:
        case ENXIO:  // a pipe without a reader or a device without its hardware
        case ENODEV:
            return notAFile;
        case EWOULDBLOCK:
            return sharingViolation;
        case ENOSPC:
#ifdef EDQUOT  // MinGW has none: Windows reports an exhausted quota as a full disk (ENOSPC)
        case EDQUOT:
#endif
        case EFBIG:
            return diskFull;
        case EIO:
            return hardIO;
        default:
            return genericException;
    }
}

CString CFileException::GetErrorMessage() const {
    const char16_t* text = u"An unexpected error occurred with the file %1.";
    switch (m_cause) {
        case none:
            text = u"No error occurred with the file %1.";
            break;
        case genericException:
            break;
        case fileNotFound:
            text = u"The file %1 could not be found.";
            break;
        case badPath:
            text = u"The name %1 is not a valid path to a file.";
            break;
        case accessDenied:
            text = u"Access to the file %1 was denied.";
            break;
        case sharingViolation:
            text = u"The file %1 is in use by another program.";
            break;
        case diskFull:
            text = u"The disk is full; the file %1 could not be written.";
            break;
        case hardIO:
            text = u"A device error occurred while accessing the file %1.";
            break;
        case endOfFile:
            text = u"An attempt was made to read the file %1 past its end.";
            break;
        case readOnly:
            text = u"The file %1 is read-only, so it was left as it was.";
            break;
        case noFolder:
            text = u"The folder for the file %1 no longer exists, so the file could not be made.";
            break;
        case notAFile:
            text = u"%1 is a folder, a device or a pipe, not a file that can be read or written.";
            break;
    }
    CString message = NameTheFile(text, m_strFileName, u"(unnamed)");
    if (!m_strKeptCopy.IsEmpty())
        message.Str() += u" The file as it was before is kept as " + m_strKeptCopy.Str() + u".";
    return message;
}
