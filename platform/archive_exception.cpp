// The texts of the archive errors, with "%1" standing for the file.
#include "platform/archive_exception.h"

#include <string>

CString CArchiveException::GetErrorMessage() const {
    const char16_t* text = u"An unknown error occurred while accessing %1.";
    switch (m_cause) {
        case none:
            text = u"No error occurred while accessing %1.";
            break;
        case genericException:
            break;
        case readOnly:
            text = u"%1 was opened for loading and cannot be written to.";
            break;
        case endOfFile:
            text = u"An attempt was made to access %1 past its end.";
            break;
        case writeOnly:
            text = u"%1 was opened for storing and cannot be read from.";
            break;
        case badIndex:
            text = u"%1 refers to an object that it does not contain.";
            break;
        case badClass:
            text = u"%1 holds an object of an unexpected kind.";
            break;
        case badSchema:
            text = u"%1 holds an object of an unsupported version.";
            break;
    }
    return NameTheFile(text, m_strFileName, u"an unnamed file");
}
