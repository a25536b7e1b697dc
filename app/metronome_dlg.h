// The main dialog: its state record, data exchange, message table, start-up and shutdown. The
// handlers of each concern are defined in that concern's folder (audio/, tempo/, presets/).
#pragma once

#include <array>
#include <cstdint>

#include "platform/mmsystem.h"
#include "presets/bank.h"
#include "ui/controls.h"
#include "ui/dialog.h"

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

    // Handlers of the message table.
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnOnOff();
    void OnSelchangeTempo();
    void OnCustomdrawVolume(NMHDR* header, LRESULT* result);
    void OnSaveState();  // the shared save handler: pulls the controls into the members
    void OnQuarterSignature();
    void OnEighthSignature();
    void OnClose();
    void OnTap();
    void OnNoFixedScale();
    void OnChangeTempoValue();
    void OnSaveBank();
    void OnBank1();
    void OnBank2();
    void OnBank3();
    void OnBank4();
    void OnBank5();
    void OnBank6();
    void OnBank7();
    void OnBank8();
    void OnCancel() override;

    // Timer operations: the one way the click is started, stopped and restarted.
    void StopBeatTimer();
    void StartBeatTimer();
    void RestartBeatTimer();

    // Names m_nTempoBpm, clamps it to 300, and pushes the members to the controls.
    void UpdateTempoName();
    // Recalls the preset stored in `fileName`.
    void LoadBank(const CString& fileName);

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

  private:
    // The four steps that release the wave-out device and the timer; harmless when repeated.
    void ReleaseDevices();
    void OpenWaveOut();
    void CloseWaveOut();

    bool released_ = false;
};
