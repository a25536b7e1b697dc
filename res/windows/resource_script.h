// The text of the Windows resource script: icon 128, the string table, the version resource and
// the manifest, from the same strings and version values that every build uses.
#pragma once

#include <string>

namespace res::windows {

// The file names the script gives, relative to the script.
std::string ResourceScript(const std::string& iconFile,
                           const std::string& manifestFile = "metronome.manifest");

// The application manifest: the common controls' current version (6), so that the controls
// wear the system's visual style, and awareness of the system's DPI, since the dialogs take
// every size from dialog units and system metrics and so grow with it.
std::string Manifest();

// A string as a resource compiler's wide literal: quotes doubled, the rest escaped.
std::string WideLiteral(const char16_t* text);

}  // namespace res::windows
