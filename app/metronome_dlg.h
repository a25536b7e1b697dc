// The main dialog: its state record, data exchange, message table, start-up and shutdown. Its
// members are defined in app/, one file per concern:
//   metronome_dlg.cpp    construction, data exchange, message table, start-up, help hint, system
//                        menu, minimised icon, shutdown
//   click_controls.cpp   On/Off, signatures, sound radios; the timer operations, the restart of
//                        the measure and the start of the tone
//   output_volume.cpp    the wave-out device and the volume slider
//   tempo_list.cpp       the tempo list
//   free_tempo.cpp       "No fixed scale", the tempo-number field, tempo naming, the entry switch
//   tap_button.cpp       the Tap button
//   preset_recall.cpp    the preset buttons 1 to 8
//   preset_save.cpp      the Save button
//   remote_control.cpp   media keys and the desktop's remote (the mapping is in media_remote.cpp)
#pragma once

#include <array>
#include <cstdint>

#include "app/media_remote.h"
#include "platform/mmsystem.h"
#include "presets/bank.h"
#include "ui/control_wrappers.h"
#include "ui/dialog.h"

// Posted to the dialog when the desktop's mixer changed the output volume.
inline constexpr UINT WM_VOLUME_CHANGED_OUTSIDE = WM_APP + 0x10;

class CMetronomeDlg : public CDialog {
  public:
    explicit CMetronomeDlg(CWnd* parent = nullptr);
    ~CMetronomeDlg() override;

    void Serialize(CArchive& ar) override;
    const ui::MessageMap* GetMessageMap() const override { return &messageMap; }
    static const ui::MessageMap messageMap;
    void WinHelp(DWORD_PTR data, UINT command = 0) override;

    // The state record, in declaration order.
    HICON m_hIcon;
    bool m_bRunning;
    CString m_strTempoCombo;
    std::int32_t m_nBeatPeriodMs;
    std::uint32_t m_uTimerId;
    DWORD m_dwVolume;
    CSliderCtrl m_sliderVolume;
    std::int32_t m_nVolume;
    HWAVEOUT* m_phWaveOut;
    WAVEFORMATEX* m_pWaveFormat;
    HWAVEOUT m_hWaveOut;
    WAVEFORMATEX m_waveFormat;
    std::int32_t m_bEighths;
    CButton m_btnTap;
    CComboBox m_comboTempo;
    std::int32_t m_bNoFixedScale;
    CEdit m_editTempoValue;
    CEdit m_editTempoName;
    CString m_strTempoName;
    CString m_strTempoValue;
    std::array<char16_t, 10> m_szTempoDigits;
    std::int32_t m_nTempoBpm;
    CButton m_chkNoFixedScale;
    std::int32_t m_nScalePeriodMs;
    std::int32_t m_nFreePeriodMs;
    CBank m_bank;
    CString m_strComments;

    // Handlers of the message table, by the file that defines them. metronome_dlg.cpp:
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnClose();
    void OnCancel() override;
    // click_controls.cpp:
    void OnOnOff();
    void OnSaveState();  // the shared save handler: pulls the controls into the members
    void OnQuarterSignature();
    void OnEighthSignature();
    // output_volume.cpp:
    void OnCustomdrawVolume(NMHDR* header, LRESULT* result);
    void OnVolumeChangedOutside();  // WM_VOLUME_CHANGED_OUTSIDE
    // tempo_list.cpp:
    void OnSelchangeTempo();
    // free_tempo.cpp:
    void OnNoFixedScale();
    void OnChangeTempoValue();
    // tap_button.cpp:
    void OnTap();
    // preset_save.cpp:
    void OnSaveBank();
    // preset_recall.cpp:
    void OnBank1();
    void OnBank2();
    void OnBank3();
    void OnBank4();
    void OnBank5();
    void OnBank6();
    void OnBank7();
    void OnBank8();
    // remote_control.cpp: a media key, or the window's command for one.
    void OnAppCommand(UINT window, LPARAM lParam);

    // remote_control.cpp: the preset last recalled (1 to 8; 0 before the first recall), where Next
    // and Previous go on from; and whether a remote's command may act now.
    int RecalledPreset() const { return recalledPreset_; }
    bool AcceptsRemoteCommands() const;

    // click_controls.cpp: the timer operations, the one way the click is started, stopped and
    // restarted.
    void StopBeatTimer();
    void StartBeatTimer();
    void RestartBeatTimer();
    // A change of tempo while clicking: the measure starts again at its accent.
    void RestartMeasure();
    // Stops the click and loops the A4 tone. The tempo list silences the player before it stops
    // the timer; On/Off and a recall stop the timer first.
    enum class ToneStart { timerFirst, silenceFirst };
    void StartTone(ToneStart order);

    // free_tempo.cpp: names m_nTempoBpm, clamps it to 300, and pushes the members to the controls.
    void UpdateTempoName();
    // Shows the number and name fields in place of the tempo list, or the list again.
    void ShowTempoEntry(bool freeEntry);
    // preset_recall.cpp: recalls the preset stored in `fileName`.
    void LoadBank(const CString& fileName);

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Every message, and then, once the outermost handler has returned, the remote learns what
    // changed, whoever changed it.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    // The four steps that release the wave-out device and the timer; harmless when repeated.
    void ReleaseDevices();
    void OpenWaveOut();  // output_volume.cpp
    void CloseWaveOut();
    static void VolumeNotice(void* dialog);

    bool released_ = false;
    int recalledPreset_ = 0;
    int handlerDepth_ = 0;
    MediaRemote remote_{*this};
};
