// A file held in memory, for driving archives byte by byte without touching the disk.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/file.h"

class MemoryFile : public CFile {
  public:
    MemoryFile() = default;
    explicit MemoryFile(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {}

    std::size_t Read(void* buffer, std::size_t count) override {
        const std::size_t take = std::min(count, bytes_.size() - position_);
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(position_), take,
                    static_cast<unsigned char*>(buffer));
        position_ += take;
        ++reads_;
        return take;
    }
    void Write(const void* buffer, std::size_t count) override {
        const auto* in = static_cast<const unsigned char*>(buffer);
        if (position_ + count > bytes_.size())
            bytes_.resize(position_ + count);
        std::copy_n(in, count, bytes_.begin() + static_cast<std::ptrdiff_t>(position_));
        position_ += count;
        ++writes_;
    }
    std::uint64_t GetLength() const override { return bytes_.size(); }
    std::uint64_t GetPosition() const override { return position_; }
    void Flush() override {}
    void Close() override {}

    const std::vector<unsigned char>& bytes() const { return bytes_; }
    int reads() const { return reads_; }
    int writes() const { return writes_; }

  private:
    std::vector<unsigned char> bytes_;
    std::size_t position_ = 0;
    int reads_ = 0;
    int writes_ = 0;
};
