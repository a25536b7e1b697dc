// The output volume: the wave-out device opened at start-up, the slider that sets it, and the
// slider following a change made in the desktop's mixer.
#include "app/metronome_dlg.h"

void CMetronomeDlg::OpenWaveOut() {
    m_pWaveFormat = &m_waveFormat;
    m_phWaveOut = &m_hWaveOut;
    m_waveFormat.wFormatTag = WAVE_FORMAT_PCM;
    m_waveFormat.nChannels = 1;
    m_waveFormat.nSamplesPerSec = 44100;
    m_waveFormat.nAvgBytesPerSec = 88200;
    m_waveFormat.nBlockAlign = 2;
    m_waveFormat.wBitsPerSample = 16;
    m_waveFormat.cbSize = 0;
    waveOutOpen(m_phWaveOut, WAVE_MAPPER, m_pWaveFormat, 0, 0, CALLBACK_NULL);
    waveOutGetVolume(m_hWaveOut, &m_dwVolume);
    m_nVolume = HIWORD(m_dwVolume);  // the right channel
    waveOutWatchVolume(m_hWaveOut, &CMetronomeDlg::VolumeNotice, this);
    m_sliderVolume.SetRangeMin(0, TRUE);
    m_sliderVolume.SetRangeMax(65535, TRUE);
}

void CMetronomeDlg::CloseWaveOut() {
    waveOutReset(m_hWaveOut);
    waveOutClose(m_hWaveOut);
}

void CMetronomeDlg::OnCustomdrawVolume(NMHDR* /*header*/, LRESULT* result) {
    UpdateData(TRUE);
    // The same 16-bit value in both channels.
    waveOutSetVolume(m_hWaveOut, static_cast<DWORD>(m_nVolume) * 65537u);
    *result = CDRF_DODEFAULT;
}

// The notice may come while a handler waits in a message box: the dialog acts on it in turn.
void CMetronomeDlg::VolumeNotice(void* dialog) {
    static_cast<CMetronomeDlg*>(dialog)->PostMessage(WM_VOLUME_CHANGED_OUTSIDE);
}

// Read as at start-up, from the right channel. Only the slider moves; its paint then sets both
// channels to that value, as the first paint does.
void CMetronomeDlg::OnVolumeChangedOutside() {
    if (waveOutGetVolume(m_hWaveOut, &m_dwVolume) != MMSYSERR_NOERROR)
        return;
    m_nVolume = HIWORD(m_dwVolume);
    m_sliderVolume.SetPos(m_nVolume);
}
