// The string table: string 101 (the About item of the system menu) and the Tap button's prompt.
#pragma once

namespace res {

// Null when the table has no string under `id`.
const char16_t* FindString(unsigned id);

}  // namespace res
