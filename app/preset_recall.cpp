// Recalling a preset: the eight preset buttons read their bank file into the preset record, copy it
// into the dialog, show it and set the click running with it.
#include "app/metronome_dlg.h"
#include "app/preset_buttons.h"
#include "audio/beat_clock.h"
#include "platform/archive.h"
#include "platform/file.h"
#include "presets/bank_check.h"
#include "tempo/tempo_scale.h"

void CMetronomeDlg::OnBank1() {
    LoadBank(u"bank1.dat");
}
void CMetronomeDlg::OnBank2() {
    LoadBank(u"bank2.dat");
}
void CMetronomeDlg::OnBank3() {
    LoadBank(u"bank3.dat");
}
void CMetronomeDlg::OnBank4() {
    LoadBank(u"bank4.dat");
}
void CMetronomeDlg::OnBank5() {
    LoadBank(u"bank5.dat");
}
void CMetronomeDlg::OnBank6() {
    LoadBank(u"bank6.dat");
}
void CMetronomeDlg::OnBank7() {
    LoadBank(u"bank7.dat");
}
void CMetronomeDlg::OnBank8() {
    LoadBank(u"bank8.dat");
}

void CMetronomeDlg::LoadBank(const CString& fileName) {
    // The name is resolved against the current directory now, not at start-up.
    if (!CFile::Exists(fileName)) {
        MessageBox(u"This preset is empty", u"Warning", MB_OK);
        return;
    }
    CFile file;
    if (!file.Open(fileName, CFile::modeRead | CFile::shareExclusive | CFile::typeBinary))
        return;  // held by another opener, denied, or no plain file: silently nothing

    // The whole record is read before anything is copied: a short file raises the archive's
    // end-of-file error here, which leaves the dialog, its controls and the click as they were.
    CArchive ar(file, CArchive::load);
    Serialize(ar);
    // A record the click cannot play is refused as a damaged file is, before anything changes;
    // taken over, it would leave the program silent and pass the damage on to the next save.
    if (!presets::IsPlayable(m_bank))
        throw CBankValueException(file.GetFilePath());

    m_nBeatPeriodMs = m_bank.m_nPeriodMs;
    m_bEighths = m_bank.m_bEighthNotes;
    m_bNoFixedScale = m_bank.m_bFreeTempo;
    g_nSignature = m_bank.m_nSignature;
    g_nSoundKind = m_bank.m_nSound;
    m_strComments = m_bank.m_strNotes;

    if (m_bNoFixedScale != 0) {
        m_chkNoFixedScale.SetCheck(1);
        ShowTempoEntry(true);
        m_strTempoName = m_bank.m_strName;
        m_strTempoValue = m_bank.m_strValue;
        m_nTempoBpm = m_bank.m_nBpm;
    } else {
        m_chkNoFixedScale.SetCheck(0);
        ShowTempoEntry(false);
    }

    // The push shows the signature by its radio in the recalled family, whichever form is stored.
    UpdateData(FALSE);

    // After the push, so that the push cannot bring back the row shown before; selecting by index
    // sends no notification, so the tempo list's handler does not run. No range check: a row
    // outside the list clears the selection.
    if (m_bNoFixedScale == 0) {
        m_comboTempo.SetCurSel(m_bank.m_nScaleRow);
        const int row = m_comboTempo.GetCurSel();
        if (row >= 0)
            m_comboTempo.GetLBText(row, m_strTempoCombo);
        else
            m_strTempoCombo.Empty();
    }

    if (m_nBeatPeriodMs == tempo::kTonePeriod) {
        // A preset saved on the A4 row sounds the tone as On/Off does on that row, rather than
        // asking the timer for an interval it refuses and running silently.
        StartTone(ToneStart::timerFirst);
    } else {
        // The counter is kept: the accent keeps its place in the measure.
        if (m_bRunning)
            StopBeatTimer();
        StartBeatTimer();
    }
    m_bRunning = true;
    recalledPreset_ = PresetOfFile(fileName);

    ar.Close();
    file.Close();
}
