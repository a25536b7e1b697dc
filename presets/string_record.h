// A text in a bank file: a length-prefixed string record, UTF-16 with a marker when written, and
// accepted with or without the marker when read.
#pragma once

#include "base/cstring.h"
#include "platform/archive.h"

// Writes the marker FF FE FF, the length in code units in its 1-, 3- or 7-byte form, then the text.
CArchive& operator<<(CArchive& ar, const CString& text);
// Reads a marked or an unmarked record and replaces text only once the whole record has been read.
CArchive& operator>>(CArchive& ar, CString& text);
