// Storing a preset: the Save button asks which preset to overwrite and replaces its bank file with
// the dialog's current state.
#include <string>

#include "app/metronome_dlg.h"
#include "app/save_preset_dlg.h"
#include "audio/beat_clock.h"
#include "platform/archive.h"
#include "platform/file.h"

namespace {

// "bank1.dat" to "bank8.dat" for the rows 0 to 7 of the Save dialog.
CString BankFileName(int bank) {
    return CString(u"bank" + std::u16string(1, static_cast<char16_t>(u'1' + bank)) + u".dat");
}

}  // namespace

void CMetronomeDlg::OnSaveBank() {
    CSBDialog dialog;
    dialog.DoModal();
    const int bank = dialog.m_nBank;
    if (bank == -1)
        return;
    if (bank < 0 || bank > 7) {
        MessageBox(u"Number of bank is out of range 0...7!!!", nullptr, MB_OK);
        return;
    }
    const CString fileName = BankFileName(bank);

    m_bank.m_nPeriodMs = m_nBeatPeriodMs;
    m_bank.m_bEighthNotes = m_bEighths;
    m_bank.m_strName = m_strTempoName;
    m_bank.m_strValue = m_strTempoValue;
    m_bank.m_nBpm = m_nTempoBpm;
    m_bank.m_nScaleRow = m_comboTempo.GetCurSel();  // from the control, in both tempo modes
    m_bank.m_bFreeTempo = m_bNoFixedScale;
    m_bank.m_strNotes = m_strComments;
    m_bank.m_nSignature = g_nSignature;
    m_bank.m_nSound = g_nSoundKind;

    if (!UpdateData(TRUE))
        return;
    // A read-only preset is the musician's way of keeping it: left alone, and the box says so
    // rather than letting the save look as if it had worked.
    if (CFile::Exists(fileName) && CFile::IsReadOnly(fileName))
        throw CFileException(CFileException::readOnly, 0, CFile::GetFullPath(fileName));

    // The record goes whole into a temporary file beside the bank file, which is then renamed over
    // it, rather than being written over the old file in place: a failed write (a full disk) keeps
    // the old preset intact, and the file never keeps a tail of a longer earlier record. Every
    // failure, a file held by another program included, escapes to the framework's stop-icon box,
    // naming the bank file's full path.
    CFile::ReplaceSafely(fileName, [this](CFile& file) {
        CArchive ar(file, CArchive::store);
        Serialize(ar);
        ar.Close();
    });
}
