// A file in memory that collects what a record writer writes, so that an in-place save can put the
// whole record into the real file with one write.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file.h"

namespace platform {

class RecordBuffer : public CFile {
  public:
    std::size_t Read(void*, std::size_t) override { return 0; }
    void Write(const void* buffer, std::size_t count) override {
        bytes_.append(static_cast<const char*>(buffer), count);
    }
    std::uint64_t GetLength() const override { return bytes_.size(); }
    std::uint64_t GetPosition() const override { return bytes_.size(); }
    void Flush() override {}
    void Close() override {}
    const std::string& Bytes() const { return bytes_; }

  private:
    std::string bytes_;
};

}  // namespace platform
