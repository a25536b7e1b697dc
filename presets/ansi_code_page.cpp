// Unmarked strings are read as Windows-1252 (Western European), the ANSI code page that such files
// were written in; its five undefined bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D keep their value as
// code points, so no byte is lost or replaced.
#include "presets/ansi_code_page.h"

namespace {

// 0x80 to 0x9F; the rest of the code page equals Latin-1 and so the code points 0x00 to 0xFF.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

}  // namespace

std::u16string AnsiToUtf16(const unsigned char* bytes, std::size_t count) {
    std::u16string text(count, u'\0');
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char b = bytes[i];
        text[i] = (b >= 0x80 && b <= 0x9F) ? kHighControls[b - 0x80] : static_cast<char16_t>(b);
    }
    return text;
}
