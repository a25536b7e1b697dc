// The archive's buffering, its numbers and its refusal to work against its direction.
#include <gtest/gtest.h>

#include <numeric>

#include "platform/archive.h"
#include "platform/archive_exception.h"
#include "tests/presets/bank_bytes.h"

namespace {

Bytes Counting(std::size_t n, int start = 0) {
    Bytes bytes(n);
    std::iota(bytes.begin(), bytes.end(), static_cast<unsigned char>(start));
    return bytes;
}

TEST(Archive, NumbersAreLittleEndian) {
    MemoryFile file;
    CArchive ar(file, CArchive::store);
    ar << std::int32_t{-2} << std::uint8_t{0xAB} << std::uint16_t{0x1234}
       << std::uint32_t{0xA1B2C3D4};
    ar.Close();
    EXPECT_EQ(file.bytes(),
              Hex({0xFE, 0xFF, 0xFF, 0xFF, 0xAB, 0x34, 0x12, 0xD4, 0xC3, 0xB2, 0xA1}));

    MemoryFile in(file.bytes() + Hex({1, 2, 3, 4, 5, 6, 7, 0x80}));
    CArchive reader(in, CArchive::load);
    std::int32_t i = 0;
    std::uint8_t b = 0;
    std::uint16_t w = 0;
    std::uint32_t d = 0;
    std::uint64_t q = 0;
    reader >> i >> b >> w >> d >> q;
    EXPECT_EQ(i, -2);
    EXPECT_EQ(b, 0xAB);
    EXPECT_EQ(w, 0x1234);
    EXPECT_EQ(d, 0xA1B2C3D4u);
    EXPECT_EQ(q, 0x8007060504030201ull);
}

TEST(Archive, StoringWritesNothingUntilTheBufferFillsOrCloses) {
    MemoryFile file;
    CArchive ar(file, CArchive::store);
    const Bytes small = Counting(CArchive::kBufferSize - 1);
    ar.Write(small.data(), small.size());
    EXPECT_EQ(file.writes(), 0);
    ar << std::uint8_t{7} << std::uint8_t{8};
    EXPECT_EQ(file.bytes().size(), CArchive::kBufferSize);
    ar.Close();
    EXPECT_EQ(file.bytes(), small + Hex({7, 8}));
}

TEST(Archive, LargeRunsPassPartlyStraightToTheFileWithTheSameBytes) {
    for (const std::size_t run : {4093u, 4096u, 8192u, 10000u, 20000u}) {
        SCOPED_TRACE(testing::Message() << "run of " << run << " bytes");
        MemoryFile file;
        CArchive ar(file, CArchive::store);
        const Bytes head = Hex({1, 2, 3});
        const Bytes body = Counting(run, 9);
        ar.Write(head.data(), head.size());
        ar.Write(body.data(), body.size());
        ar << std::uint8_t{0xEE};
        ar.Close();
        EXPECT_EQ(file.bytes(), head + body + Hex({0xEE})) << "run " << run;
    }
}

TEST(Archive, ReadsAcrossBufferRefillsAndReportsWhatItGot) {
    const Bytes content = Counting(3 * CArchive::kBufferSize + 100);
    MemoryFile file(content);
    CArchive ar(file, CArchive::load);
    Bytes got(content.size() + 50);
    std::size_t at = 0;
    for (const std::size_t chunk : {5u, 4096u, 1u, 9000u, 3000u}) {
        SCOPED_TRACE(testing::Message() << "chunk of " << chunk << " at " << at);
        const std::size_t n = ar.Read(got.data() + at, chunk);
        EXPECT_EQ(n, std::min(chunk, content.size() - at));
        at += n;
        EXPECT_EQ(ar.GetRemaining(), content.size() - at);
    }
    got.resize(at);
    EXPECT_EQ(got, content);
    EXPECT_EQ(ar.Read(got.data(), 10), 0u);
}

TEST(Archive, ShortNumberFailsWithEndOfFileAndKeepsTheTarget) {
    MemoryFile file(Hex({1, 2, 3}));
    CArchive ar(file, CArchive::load);
    std::int32_t value = 42;
    try {
        ar >> value;
        FAIL() << "no error";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
    EXPECT_EQ(value, 42);
}

TEST(Archive, UseAgainstTheDirectionRaisesTheMatchingCause) {
    MemoryFile file(Hex({1, 2, 3, 4}));
    CArchive loading(file, CArchive::load);
    std::uint8_t b = 0;
    try {
        loading << std::uint8_t{1};
        FAIL() << "wrote to a loading archive";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::readOnly);
    }
    CArchive storing(file, CArchive::store);
    try {
        storing >> b;
        FAIL() << "read from a storing archive";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::writeOnly);
    }
    EXPECT_EQ(file.bytes(), Hex({1, 2, 3, 4}));
}

TEST(Archive, AnArchiveLeftWithoutCloseWritesNothingMore) {
    MemoryFile file;
    {
        CArchive ar(file, CArchive::store);
        ar << std::int32_t{5};
    }
    EXPECT_TRUE(file.bytes().empty());
}

}  // namespace
