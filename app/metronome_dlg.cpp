// The main dialog's spine: construction, the data exchange, the message table, initialisation,
// the help hint, the system menu, the minimised icon and shutdown.
#include "app/metronome_dlg.h"

#include "app/about_dlg.h"
#include "app/minimised_icon.h"
#include "audio/beat_clock.h"
#include "audio/sample_store.h"
#include "res/resource_ids.h"
#include "res/resources.h"
#include "ui/data_exchange.h"
#include "ui/win_app.h"

namespace {

using D = CMetronomeDlg;
using ui::Bind;

const ui::MessageEntry kEntries[] = {
    {WM_SYSCOMMAND, 0, 0, Bind<&D::OnSysCommand>},
    {WM_PAINT, 0, 0, Bind<&D::OnPaint>},
    {WM_QUERYDRAGICON, 0, 0, Bind<&D::OnQueryDragIcon>},
    {WM_COMMAND, IDC_ONOFF, BN_CLICKED, Bind<&D::OnOnOff>},
    {WM_COMMAND, IDC_TEMPO_LIST, CBN_SELCHANGE, Bind<&D::OnSelchangeTempo>},
    {WM_NOTIFY, IDC_VOLUME, NM_CUSTOMDRAW, Bind<&D::OnCustomdrawVolume>},
    {WM_VOLUME_CHANGED_OUTSIDE, 0, 0, Bind<&D::OnVolumeChangedOutside>},
    {WM_COMMAND, IDC_SOUND_METRONOME, BN_CLICKED, Bind<&D::OnSaveState>},
    {WM_COMMAND, IDC_SOUND_DIGITAL, BN_CLICKED, Bind<&D::OnSaveState>},
    {WM_COMMAND, IDC_SOUND_HIHAT, BN_CLICKED, Bind<&D::OnSaveState>},
    {WM_COMMAND, IDC_SOUND_RIM, BN_CLICKED, Bind<&D::OnSaveState>},
    {WM_COMMAND, IDC_SIGNATURE_1_4, BN_CLICKED, Bind<&D::OnQuarterSignature>},
    {WM_COMMAND, IDC_SIGNATURE_2_4, BN_CLICKED, Bind<&D::OnQuarterSignature>},
    {WM_COMMAND, IDC_SIGNATURE_3_4, BN_CLICKED, Bind<&D::OnQuarterSignature>},
    {WM_COMMAND, IDC_SIGNATURE_4_4, BN_CLICKED, Bind<&D::OnQuarterSignature>},
    {WM_COMMAND, IDC_SIGNATURE_5_4, BN_CLICKED, Bind<&D::OnQuarterSignature>},
    {WM_COMMAND, IDC_SIGNATURE_6_4, BN_CLICKED, Bind<&D::OnQuarterSignature>},
    {WM_COMMAND, IDC_SIGNATURE_1_8, BN_CLICKED, Bind<&D::OnEighthSignature>},
    {WM_COMMAND, IDC_SIGNATURE_2_8, BN_CLICKED, Bind<&D::OnEighthSignature>},
    {WM_COMMAND, IDC_SIGNATURE_3_8, BN_CLICKED, Bind<&D::OnEighthSignature>},
    {WM_COMMAND, IDC_SIGNATURE_4_8, BN_CLICKED, Bind<&D::OnEighthSignature>},
    {WM_COMMAND, IDC_SIGNATURE_5_8, BN_CLICKED, Bind<&D::OnEighthSignature>},
    {WM_COMMAND, IDC_SIGNATURE_6_8, BN_CLICKED, Bind<&D::OnEighthSignature>},
    {WM_CLOSE, 0, 0, Bind<&D::OnClose>},
    {WM_COMMAND, IDC_TAP, BN_CLICKED, Bind<&D::OnTap>},
    {WM_COMMAND, IDC_NO_FIXED_SCALE, BN_CLICKED, Bind<&D::OnNoFixedScale>},
    {WM_COMMAND, IDC_TEMPO_VALUE, EN_CHANGE, Bind<&D::OnChangeTempoValue>},
    {WM_COMMAND, IDC_SAVE_PRESET, BN_CLICKED, Bind<&D::OnSaveBank>},
    {WM_COMMAND, IDC_PRESET_1, BN_CLICKED, Bind<&D::OnBank1>},
    {WM_COMMAND, IDC_COMMENTS, EN_CHANGE, Bind<&D::OnSaveState>},
    {WM_COMMAND, IDC_PRESET_2, BN_CLICKED, Bind<&D::OnBank2>},
    {WM_COMMAND, IDC_PRESET_3, BN_CLICKED, Bind<&D::OnBank3>},
    {WM_COMMAND, IDC_PRESET_4, BN_CLICKED, Bind<&D::OnBank4>},
    {WM_COMMAND, IDC_PRESET_5, BN_CLICKED, Bind<&D::OnBank5>},
    {WM_COMMAND, IDC_PRESET_6, BN_CLICKED, Bind<&D::OnBank6>},
    {WM_COMMAND, IDC_PRESET_7, BN_CLICKED, Bind<&D::OnBank7>},
    {WM_COMMAND, IDC_PRESET_8, BN_CLICKED, Bind<&D::OnBank8>},
    {WM_COMMAND, IDCANCEL, BN_CLICKED, Bind<&D::OnCancel>},
    {WM_APPCOMMAND, 0, 0, Bind<&D::OnAppCommand>},
};

constexpr char16_t kHint[] =
    u"Don't press the \"Tap\" button at least 2 seconds if you want change temp value!\n";

}  // namespace

const ui::MessageMap CMetronomeDlg::messageMap{&CDialog::messageMap, kEntries};

CMetronomeDlg::CMetronomeDlg(CWnd* parent)
    : CDialog(IDD_METRONOME_DIALOG, parent),
      m_hIcon(nullptr),
      m_bRunning(false),
      m_nBeatPeriodMs(600),
      m_uTimerId(0),  // names no timer, so the shutdown's kill is harmless
      m_dwVolume(0xFFFFFFFF),
      m_nVolume(0),
      m_phWaveOut(nullptr),
      m_pWaveFormat(nullptr),
      m_hWaveOut(nullptr),
      m_waveFormat{},
      m_bEighths(0),
      m_bNoFixedScale(0),
      m_strTempoName(u"Andante"),
      m_strTempoValue(u"100"),
      m_szTempoDigits{},
      m_nTempoBpm(100),  // what the start texts "100" and "Andante" say
      m_nScalePeriodMs(600),
      m_nFreePeriodMs(600) {
    m_hIcon = LoadIconW(AfxGetInstanceHandle(), IDR_MAINFRAME);
}

CMetronomeDlg::~CMetronomeDlg() = default;

void CMetronomeDlg::Serialize(CArchive& ar) {
    m_bank.Serialize(ar);
}

void CMetronomeDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_CBString(pDX, IDC_TEMPO_LIST, m_strTempoCombo);
    DDX_Control(pDX, IDC_VOLUME, m_sliderVolume);
    DDX_Slider(pDX, IDC_VOLUME, m_nVolume);
    DDX_Radio(pDX, IDC_SOUND_METRONOME, g_nSoundKind);
    if (pDX->m_bSaveAndValidate) {
        DDX_Radio(pDX, IDC_SIGNATURE_1_4, g_nSignature);
    } else {
        // The radio shown is the measure length in the family the clock runs in, whether or not
        // the clock has folded the shared index yet; the index itself is left as it is.
        int shown = FoldSignature(g_nSignature.load()) + (m_bEighths ? 6 : 0);
        DDX_Radio(pDX, IDC_SIGNATURE_1_4, shown);
    }
    DDX_Control(pDX, IDC_TAP, m_btnTap);
    DDX_Control(pDX, IDC_TEMPO_LIST, m_comboTempo);
    DDX_Check(pDX, IDC_NO_FIXED_SCALE, m_bNoFixedScale);
    DDX_Control(pDX, IDC_TEMPO_VALUE, m_editTempoValue);
    DDX_Control(pDX, IDC_TEMPO_NAME, m_editTempoName);
    DDX_Text(pDX, IDC_TEMPO_NAME, m_strTempoName);
    DDX_Text(pDX, IDC_TEMPO_VALUE, m_strTempoValue);
    DDX_Control(pDX, IDC_NO_FIXED_SCALE, m_chkNoFixedScale);
    DDX_Text(pDX, IDC_COMMENTS, m_strComments);
}

BOOL CMetronomeDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    if (CMenu* systemMenu = GetSystemMenu(FALSE)) {
        const CString about = LoadStringResource(IDS_ABOUTBOX);
        if (!about.IsEmpty()) {
            systemMenu->AppendMenuW(MF_SEPARATOR);
            systemMenu->AppendMenuW(MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    m_editTempoValue.ShowWindow(SW_HIDE);
    m_editTempoValue.LimitText(3);
    m_editTempoName.ShowWindow(SW_HIDE);
    m_nScalePeriodMs = 600;
    m_nFreePeriodMs = 600;
    OpenWaveOut();

    m_strTempoCombo = u"100 Andante";
    m_nBeatPeriodMs = 600;
    m_bRunning = false;
    m_bNoFixedScale = 0;
    m_strComments = u"Place here comments for 1...8 user presets";
    UpdateData(FALSE);

    LoadSampleStore();
    remote_.Attach(platform::InstalledRemoteBus());
    return TRUE;
}

void CMetronomeDlg::WinHelp(DWORD_PTR /*data*/, UINT /*command*/) {
    MessageBox(CString(kHint) + CString(res::kHintSecondLine), u"Vorla Metronome", MB_OK);
}

void CMetronomeDlg::OnSysCommand(UINT id, LPARAM lParam) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    DefWindowProc(WM_SYSCOMMAND, id, lParam);
}

void CMetronomeDlg::OnPaint() {
    if (!IsIconic()) {
        DefWindowProc(WM_PAINT, 0, 0);
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int iconWidth = GetSystemMetrics(SM_CXICON);
    const int iconHeight = GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    const int x = CentredIconEdge(rect.right - rect.left, iconWidth);
    const int y = CentredIconEdge(rect.bottom - rect.top, iconHeight);
    DrawIcon(dc, x, y, m_hIcon);
}

HCURSOR CMetronomeDlg::OnQueryDragIcon() {
    return m_hIcon;
}

void CMetronomeDlg::ReleaseDevices() {
    // Closing the window releases and then cancels, which would release again: the second pass
    // must not touch the closed device, nor a timer id that may since name another timer.
    if (released_)
        return;
    released_ = true;
    remote_.Detach();  // a remote's command no longer reaches a closing dialog
    CloseWaveOut();
    timeEndPeriod(1);
    timeKillEvent(m_uTimerId);
}

void CMetronomeDlg::OnClose() {
    ReleaseDevices();
    DefWindowProc(WM_CLOSE, 0, 0);
}

void CMetronomeDlg::OnCancel() {
    CDialog::OnCancel();
    ReleaseDevices();
}
