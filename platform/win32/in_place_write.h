// Writing a file over its own content on Windows, for a file that cannot be replaced by a new one
// (it has further hard links, or its folder is closed to new files): the old content stays or the
// new one arrives whole, and a kept copy of the old one outlives a crash in between.
#pragma once

#include <string>
#include <string_view>

#include "base/cstring.h"

namespace platform::win32 {

// Writes `record` over the file `path`, which nobody else may have open. First a copy of the old
// content is kept beside the file, or where the folder is closed to new files, in the per-user
// data folder (%LOCALAPPDATA%\Vorla Metronome); then the new length is reserved, so that a full
// disk stops the save before anything is written, and the record is written whole from offset 0
// and cut to its length. A failed write puts the old content back. The copy goes when the save
// succeeds and stays when it fails; the CFileException raised names `target` and the copy. Where
// no copy can be kept anywhere, the write goes ahead without one.
void WriteInPlace(const std::wstring& path, std::string_view record, const CString& target);

}  // namespace platform::win32
