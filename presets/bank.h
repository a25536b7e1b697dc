// The preset record: one user preset, stored alone in one bank file.
#pragma once

#include <cstdint>

#include "ui/cstring.h"
#include "ui/object.h"

class CBank : public CObject {
  public:
    void Serialize(CArchive& ar) override;

    std::int32_t m_nPeriodMs = 0;
    std::int32_t m_bEighthNotes = 0;
    CString m_strName;
    CString m_strValue;
    std::int32_t m_nBpm = 0;
    std::int32_t m_nScaleRow = 0;
    std::int32_t m_bFreeTempo = 0;
    CString m_strNotes;
    std::int32_t m_nSignature = 0;
    std::int32_t m_nSound = 0;
};
