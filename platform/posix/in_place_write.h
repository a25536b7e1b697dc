// Writing a file over its own content, for a file that cannot be replaced by a new one (it has
// further hard links, or its folder is closed to new files): the old content stays or the new one
// arrives whole, and a kept copy of the old one outlives a crash in between.
#pragma once

#include <string>
#include <string_view>

#include "base/cstring.h"

namespace platform::posix {

// Writes `record` over the regular file `path`, which the caller holds locked and reads through
// `readable` (a descriptor open for reading). First a copy of the old content is kept beside the
// file, or where the folder is closed to new files, in the per-user data folder
// ($XDG_DATA_HOME/metronome, else ~/.local/share/metronome); then the new length is reserved, so
// that a full disk stops the save before anything is written, and the record is written whole
// from offset 0 and cut to its length. A failed write puts the old content back. The copy goes
// when the save succeeds and stays when it fails; the CFileException raised names `target` and
// the copy. Where no copy can be kept anywhere, the write goes ahead without one.
void WriteInPlace(const std::string& path, int readable, std::string_view record,
                  const CString& target);

}  // namespace platform::posix
