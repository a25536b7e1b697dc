// The error of a preset archive: a file that ends too early, a malformed length, or a use of the
// archive against its direction.
#pragma once

#include "base/cstring.h"
#include "base/exception.h"

class CArchiveException : public CException {
  public:
    enum Cause {
        none,
        genericException,
        readOnly,   // a write to an archive that is loading
        endOfFile,  // a read past the end of the file
        writeOnly,  // a read from an archive that is storing
        badIndex,
        badClass,
        badSchema,
    };

    explicit CArchiveException(Cause cause = none, CString fileName = {})
        : m_cause(cause), m_strFileName(std::move(fileName)) {}

    CString GetErrorMessage() const override;

    Cause m_cause;
    CString m_strFileName;  // empty: the archive knows no name, and the text says "an unnamed file"
};
