// The preset record: one user preset, stored alone in one bank file.
#pragma once

#include <cstdint>

#include "base/cstring.h"
#include "base/object.h"
#include "platform/archive.h"

class CBank : public CObject {
  public:
    CBank() = default;
    ~CBank() override = default;
    CBank(const CBank&) = default;
    CBank& operator=(const CBank&) = default;

    // Storing: writes the ten fields in file order, the comments last. Loading: reads them in the
    // same order and assigns each field as soon as it is read; on an error the fields read so far
    // keep their new values and the rest their old ones. No value is checked.
    void Serialize(CArchive& ar) override;

    friend bool operator==(const CBank&, const CBank&) = default;

    std::int32_t m_nPeriodMs = 0;     // -1 while the A4 tone row is selected
    std::int32_t m_bEighthNotes = 0;  // 1 for an x/8 signature
    CString m_strName;                // tempo name, as in its edit box
    CString m_strValue;               // tempo number, as in its edit box
    std::int32_t m_nBpm = 0;          // free tempo in beats per minute
    std::int32_t m_nScaleRow = 0;     // row of the tempo list, -1 for none
    std::int32_t m_bFreeTempo = 0;    // 1 when "No fixed scale" is ticked
    CString m_strNotes;               // the comments
    std::int32_t m_nSignature = 0;    // 0 to 11, as the signature radios give it
    std::int32_t m_nSound = 0;        // click sound 0 to 3
};
