// Free tempo entry: the "No fixed scale" switch between the two modes, the tempo-number field,
// and the naming of the entered tempo.
#include "app/metronome_dlg.h"
#include "tempo/tempo_naming.h"

namespace {

// The decimal value of the leading digits; an empty text gives 0.
std::int32_t ParseTempo(const CString& text) {
    std::int32_t value = 0;
    for (char16_t c : text.Str()) {
        if (c < u'0' || c > u'9')
            break;
        value = value * 10 + (c - u'0');
        if (value > tempo::kMaxFreeTempoBpm)
            return tempo::kMaxFreeTempoBpm + 1;  // clamped by the naming anyway
    }
    return value;
}

bool IsAllZeros(const CString& text) {
    return text == u"0" || text == u"00" || text == u"000";
}

}  // namespace

void CMetronomeDlg::OnNoFixedScale() {
    UpdateData(TRUE);
    // Each mode keeps its own period while the other one is in force.
    if (m_bNoFixedScale == 1) {
        m_nScalePeriodMs = m_nBeatPeriodMs;
        m_nBeatPeriodMs = m_nFreePeriodMs;
        ShowTempoEntry(true);
    } else if (m_bNoFixedScale == 0) {
        m_nFreePeriodMs = m_nBeatPeriodMs;
        m_nBeatPeriodMs = m_nScalePeriodMs;
        ShowTempoEntry(false);
    }
    if (m_bRunning)
        RestartMeasure();
}

void CMetronomeDlg::ShowTempoEntry(bool freeEntry) {
    m_comboTempo.ShowWindow(freeEntry ? SW_HIDE : SW_SHOW);
    m_editTempoValue.ShowWindow(freeEntry ? SW_SHOW : SW_HIDE);
    m_editTempoName.ShowWindow(freeEntry ? SW_SHOW : SW_HIDE);
}

void CMetronomeDlg::OnChangeTempoValue() {
    UpdateData(TRUE);
    if (IsAllZeros(m_strTempoValue)) {
        MessageBox(u"The value cannot be null", nullptr, MB_OK);
        m_strTempoValue.Empty();
        UpdateData(FALSE);
    }
    m_nTempoBpm = ParseTempo(m_strTempoValue);
    UpdateTempoName();
    m_nBeatPeriodMs = 60000 / m_nTempoBpm;  // truncated: 61 BPM gives 983 ms
    if (m_bRunning)
        RestartMeasure();
}

void CMetronomeDlg::UpdateTempoName() {
    if (m_nTempoBpm > tempo::kMaxFreeTempoBpm) {
        m_nTempoBpm = tempo::kMaxFreeTempoBpm;
        m_strTempoValue = u"300";
    }
    m_strTempoName = tempo::TempoName(m_nTempoBpm);
    // An empty field stands for the slowest tempo, 1 BPM.
    if (m_nTempoBpm == 0) {
        m_nTempoBpm = 1;
        m_strTempoValue.Empty();
    }
    // The data exchange shows an x/8 signature by its x/8 radio, folded by the clock or not.
    UpdateData(FALSE);
}
