// String records: a marker for UTF-16, a length in code units in one of three sizes, then the text.
#include "presets/string_record.h"

#include <bit>
#include <cstdint>
#include <limits>
#include <new>
#include <vector>

#include "platform/archive_exception.h"
#include "presets/ansi_code_page.h"

namespace {

constexpr std::uint8_t kWide = 0xFF;  // 0xFF then 0xFFFE: the text is UTF-16
constexpr std::uint16_t kMarker = 0xFFFE;
constexpr std::uint16_t kLonger16 = 0xFFFF;      // a 32-bit length follows
constexpr std::uint32_t kLonger32 = 0xFFFFFFFF;  // a 64-bit length follows
constexpr std::uint64_t kLargest = 0x7FFFFFFF;

// The length after a first byte of 0xFF, in its 16-, 32- or 64-bit form.
std::uint64_t ReadLongLength(CArchive& ar, std::uint16_t w) {
    if (w < kLonger16)
        return w;
    std::uint32_t d = 0;
    ar >> d;
    if (d < kLonger32)
        return d;
    std::uint64_t q = 0;
    ar >> q;
    if (q > kLargest)
        throw CArchiveException(CArchiveException::genericException);
    return q;
}

}  // namespace

CArchive& operator<<(CArchive& ar, const CString& text) {
    const std::u16string& units = text.Str();
    const std::size_t n = units.size();
    // A length of all ones would announce a 64-bit form that this writer does not write.
    if (n >= kLonger32)
        throw CArchiveException(CArchiveException::genericException);
    ar << kWide << kMarker;
    if (n < 0xFF) {
        ar << static_cast<std::uint8_t>(n);
    } else {
        ar << std::uint8_t{0xFF};
        if (n < kMarker) {
            ar << static_cast<std::uint16_t>(n);
        } else {
            ar << kLonger16 << static_cast<std::uint32_t>(n);
        }
    }
    if constexpr (std::endian::native == std::endian::little) {
        ar.Write(units.data(), 2 * n);
    } else {
        for (const char16_t unit : units)
            ar << static_cast<std::uint16_t>(unit);
    }
    return ar;
}

CArchive& operator>>(CArchive& ar, CString& text) {
    std::size_t charSize = 1;
    std::uint64_t n = 0;
    std::uint8_t b = 0;
    ar >> b;
    if (b < 0xFF) {
        n = b;
    } else {
        std::uint16_t w = 0;
        ar >> w;
        if (w == kMarker) {
            // A second marker is not looked for: FF FE FF after the marker is the length 65534.
            charSize = 2;
            ar >> b;
            if (b < 0xFF) {
                n = b;
            } else {
                ar >> w;
                n = ReadLongLength(ar, w);
            }
        } else {
            n = ReadLongLength(ar, w);
        }
    }

    // Checked before anything is allocated, so that a corrupt length cannot claim gigabytes.
    const std::uint64_t bytes = n * charSize;
    if (bytes > ar.GetRemaining())
        throw CArchiveException(CArchiveException::endOfFile);
    if (bytes > std::numeric_limits<std::size_t>::max() / 2)
        throw std::bad_alloc();

    if (charSize == 2) {
        std::u16string units(static_cast<std::size_t>(n), u'\0');
        if (ar.Read(units.data(), bytes) < bytes) {
            throw CArchiveException(CArchiveException::endOfFile);
        }
        if constexpr (std::endian::native == std::endian::big) {
            for (char16_t& unit : units)
                unit = static_cast<char16_t>((unit >> 8) | (unit << 8));
        }
        text = CString(std::move(units));
    } else {
        std::vector<unsigned char> raw(static_cast<std::size_t>(n));
        if (ar.Read(raw.data(), raw.size()) < raw.size()) {
            throw CArchiveException(CArchiveException::endOfFile);
        }
        text = CString(AnsiToUtf16(raw.data(), raw.size()));
    }
    return ar;
}
