// The archive's buffering and its little-endian numbers.
#include "platform/archive.h"

#include <algorithm>
#include <cstring>

#include "platform/archive_exception.h"

void CArchive::CheckStoring() const {
    if (mode_ != store)
        throw CArchiveException(CArchiveException::readOnly);
}

void CArchive::CheckLoading() const {
    if (mode_ != load)
        throw CArchiveException(CArchiveException::writeOnly);
}

void CArchive::Write(const void* buffer, std::size_t count) {
    CheckStoring();
    const auto* in = static_cast<const unsigned char*>(buffer);
    const std::size_t first = std::min(count, kBufferSize - end_);
    std::copy_n(in, first, buffer_.data() + end_);
    end_ += first;
    in += first;
    count -= first;
    if (count == 0)
        return;

    Flush();
    // Whole buffers' worth go straight to the file; the rest starts the next buffer.
    const std::size_t direct = count - count % kBufferSize;
    if (direct > 0)
        file_.Write(in, direct);
    std::copy_n(in + direct, count - direct, buffer_.data());
    end_ = count - direct;
}

std::size_t CArchive::Read(void* buffer, std::size_t count) {
    CheckLoading();
    auto* out = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        if (begin_ == end_) {
            if (count - done >= kBufferSize) {
                return done + file_.Read(out + done, count - done);
            }
            begin_ = 0;
            end_ = file_.Read(buffer_.data(), kBufferSize);
            if (end_ == 0)
                break;
        }
        const std::size_t take = std::min(count - done, end_ - begin_);
        std::copy_n(buffer_.data() + begin_, take, out + done);
        begin_ += take;
        done += take;
    }
    return done;
}

std::uint64_t CArchive::GetRemaining() const {
    CheckLoading();
    const std::uint64_t length = file_.GetLength();
    const std::uint64_t position = file_.GetPosition();
    return (end_ - begin_) + (length > position ? length - position : 0);
}

void CArchive::WriteLittleEndian(std::uint64_t value, std::size_t size) {
    unsigned char bytes[8];
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    Write(bytes, size);
}

std::uint64_t CArchive::ReadLittleEndian(std::size_t size) {
    unsigned char bytes[8];
    if (Read(bytes, size) < size)
        throw CArchiveException(CArchiveException::endOfFile);
    std::uint64_t value = 0;
    for (std::size_t i = size; i-- > 0;)
        value = (value << 8) | bytes[i];
    return value;
}

CArchive& CArchive::operator<<(std::int32_t value) {
    WriteLittleEndian(static_cast<std::uint32_t>(value), 4);
    return *this;
}

CArchive& CArchive::operator<<(std::uint8_t value) {
    WriteLittleEndian(value, 1);
    return *this;
}

CArchive& CArchive::operator<<(std::uint16_t value) {
    WriteLittleEndian(value, 2);
    return *this;
}

CArchive& CArchive::operator<<(std::uint32_t value) {
    WriteLittleEndian(value, 4);
    return *this;
}

CArchive& CArchive::operator>>(std::int32_t& value) {
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(ReadLittleEndian(4)));
    return *this;
}

CArchive& CArchive::operator>>(std::uint8_t& value) {
    value = static_cast<std::uint8_t>(ReadLittleEndian(1));
    return *this;
}

CArchive& CArchive::operator>>(std::uint16_t& value) {
    value = static_cast<std::uint16_t>(ReadLittleEndian(2));
    return *this;
}

CArchive& CArchive::operator>>(std::uint32_t& value) {
    value = static_cast<std::uint32_t>(ReadLittleEndian(4));
    return *this;
}

CArchive& CArchive::operator>>(std::uint64_t& value) {
    value = ReadLittleEndian(8);
    return *this;
}

void CArchive::Flush() {
    if (mode_ != store || end_ == 0)
        return;
    // Emptied before the write, so that a failed write is not written again by a later flush.
    const std::size_t pending = end_;
    end_ = 0;
    file_.Write(buffer_.data(), pending);
}

void CArchive::Close() {
    if (closed_)
        return;
    closed_ = true;
    Flush();
}
