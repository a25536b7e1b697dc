// Reads little-endian values from a byte image, for checking generated binary formats.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

class ByteReader {
  public:
    explicit ByteReader(const std::vector<std::uint8_t>& bytes, std::size_t at = 0)
        : bytes_(bytes), at_(at) {}

    std::uint16_t Word() {
        Need(2);
        const auto v = static_cast<std::uint16_t>(bytes_[at_] | bytes_[at_ + 1] << 8);
        at_ += 2;
        return v;
    }
    std::uint32_t Dword() {
        const std::uint32_t low = Word();
        return low | static_cast<std::uint32_t>(Word()) << 16;
    }
    std::int16_t Short() { return static_cast<std::int16_t>(Word()); }
    std::uint8_t Byte() {
        Need(1);
        return bytes_[at_++];
    }
    std::u16string Text() {
        std::u16string s;
        for (char16_t c = static_cast<char16_t>(Word()); c; c = static_cast<char16_t>(Word()))
            s += c;
        return s;
    }
    void AlignTo4() { at_ = (at_ + 3) & ~std::size_t{3}; }
    std::size_t At() const { return at_; }

  private:
    void Need(std::size_t n) const {
        if (at_ + n > bytes_.size())
            throw std::out_of_range("read past the end at " + std::to_string(at_));
    }
    const std::vector<std::uint8_t>& bytes_;
    std::size_t at_;
};
