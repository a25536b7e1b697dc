// The program's version values.
#pragma once

namespace res {

inline constexpr char16_t kFileVersion[] = u"2007.11.11";
inline constexpr char16_t kProductVersion[] = u"2007.11.11";
inline constexpr char16_t kFileDescription[] = u"Vorla Metronome 2007.11.11";
inline constexpr char16_t kProductName[] = u"Vorla Metronome 2007.11.11";
inline constexpr char16_t kComments[] = u"This is software metronome for musicians";
// Numeric form for the Windows version resource.
inline constexpr unsigned kVersionNumbers[4] = {2007, 11, 11, 0};

}  // namespace res
