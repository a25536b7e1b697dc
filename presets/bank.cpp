// Reading and writing the preset record in its bank file order.
#include "presets/bank.h"

#include "presets/string_record.h"

void CBank::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_nPeriodMs << m_bEighthNotes << m_strName << m_strValue << m_nBpm << m_nScaleRow
           << m_bFreeTempo << m_nSignature << m_nSound << m_strNotes;
    } else {
        ar >> m_nPeriodMs >> m_bEighthNotes >> m_strName >> m_strValue >> m_nBpm >> m_nScaleRow >>
            m_bFreeTempo >> m_nSignature >> m_nSound >> m_strNotes;
    }
}
