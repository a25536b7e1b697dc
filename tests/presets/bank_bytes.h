// Helpers for the bank tests: a record stored to bytes, bytes loaded into a record, and byte lists.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "platform/archive.h"
#include "presets/bank.h"
#include "tests/support/memory_file.h"

using Bytes = std::vector<unsigned char>;

inline Bytes Hex(std::initializer_list<int> values) {
    return Bytes(values.begin(), values.end());
}

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes Store(CBank bank) {
    MemoryFile file;
    CArchive ar(file, CArchive::store);
    bank.Serialize(ar);
    ar.Close();
    return file.bytes();
}

inline void Load(const Bytes& bytes, CBank& bank) {
    MemoryFile file(bytes);
    CArchive ar(file, CArchive::load);
    bank.Serialize(ar);
    ar.Close();
}

inline Bytes Int32(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    return Hex({int(u & 0xFF), int((u >> 8) & 0xFF), int((u >> 16) & 0xFF), int(u >> 24)});
}

// The preset of the worked example in the format notes: 4/4 at 100 "Andante", comments "abc".
inline CBank AndantePreset() {
    CBank bank;
    bank.m_nPeriodMs = 600;
    bank.m_bEighthNotes = 0;
    bank.m_strName = u"Andante";
    bank.m_strValue = u"100";
    bank.m_nBpm = 100;
    bank.m_nScaleRow = 21;
    bank.m_bFreeTempo = 0;
    bank.m_nSignature = 3;
    bank.m_nSound = 0;
    bank.m_strNotes = u"abc";
    return bank;
}

inline const Bytes& AndanteBytes() {
    static const Bytes bytes = Hex({
        0x58, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,                          // period, eighths
        0xFF, 0xFE, 0xFF, 0x07, 0x41, 0x00, 0x6E, 0x00, 0x64, 0x00, 0x61, 0x00,  // "Andante"
        0x6E, 0x00, 0x74, 0x00, 0x65, 0x00,                                      //
        0xFF, 0xFE, 0xFF, 0x03, 0x31, 0x00, 0x30, 0x00, 0x30, 0x00,              // "100"
        0x64, 0x00, 0x00, 0x00, 0x15, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // bpm, row, free
        0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,                          // signature, sound
        0xFF, 0xFE, 0xFF, 0x03, 0x61, 0x00, 0x62, 0x00, 0x63, 0x00,              // "abc"
    });
    return bytes;
}
