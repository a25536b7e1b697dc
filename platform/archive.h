// A buffered byte stream over one open file in one direction, storing or loading; all numbers in it
// are little-endian on every host.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/file.h"

class CArchive {
  public:
    enum Mode { store = 0, load = 1 };
    static constexpr std::size_t kBufferSize = 4096;

    // The file must stay open for the archive's life. A storing archive writes from the file's
    // current position; a loading one reads from it.
    CArchive(CFile& file, Mode mode) : file_(file), mode_(mode) {}
    // Bytes not yet written by Close are dropped: a record broken off by an error is not finished.
    ~CArchive() = default;
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsLoading() const { return mode_ == load; }
    bool IsStoring() const { return mode_ == store; }
    CFile& GetFile() { return file_; }

    // Writes a run of bytes, through the buffer or, for what does not fit, straight to the file.
    void Write(const void* buffer, std::size_t count);
    // Reads up to count bytes and returns how many it got; fewer only at the end of the file.
    std::size_t Read(void* buffer, std::size_t count);
    // Bytes that a loading archive can still read: what is buffered plus the file after its
    // position.
    std::uint64_t GetRemaining() const;

    CArchive& operator<<(std::int32_t value);
    CArchive& operator<<(std::uint8_t value);
    CArchive& operator<<(std::uint16_t value);
    CArchive& operator<<(std::uint32_t value);

    // Each raises the end-of-file error when fewer bytes are left than the value needs, and then
    // leaves the target as it was.
    CArchive& operator>>(std::int32_t& value);
    CArchive& operator>>(std::uint8_t& value);
    CArchive& operator>>(std::uint16_t& value);
    CArchive& operator>>(std::uint32_t& value);
    CArchive& operator>>(std::uint64_t& value);

    // Writes out what a storing archive holds in its buffer.
    void Flush();
    // Flushes a storing archive and ends the archive's use; the caller closes the file afterwards.
    void Close();

  private:
    void CheckStoring() const;
    void CheckLoading() const;
    void WriteLittleEndian(std::uint64_t value, std::size_t size);
    std::uint64_t ReadLittleEndian(std::size_t size);

    CFile& file_;
    Mode mode_;
    bool closed_ = false;
    std::array<unsigned char, kBufferSize> buffer_{};
    std::size_t begin_ = 0;  // loading: next unread byte in the buffer
    std::size_t end_ = 0;    // loading: end of the buffered bytes; storing: bytes waiting
};
