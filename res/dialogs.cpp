// Dialog templates 100 (About box), 102 (main dialog) and 142 (Save User Preset): every control in
// template order with its id, class, caption, style and rectangle in dialog units, and the name a
// screen reader gives the controls that no text names.
#include "res/resource_ids.h"
#include "res/resources.h"
#include "tempo/tempo_scale.h"

namespace res {
namespace {

using ui::ControlClass;
using ui::ControlTemplate;

constexpr DWORD kRadio = BS_AUTORADIOBUTTON | WS_TABSTOP;
constexpr DWORD kPush = BS_PUSHBUTTON | WS_TABSTOP;

const ControlTemplate kMainControls[] = {
    {IDC_TEMPO_LIST, ControlClass::ComboBox, nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
     26, 7, 106, 275, 0, u"Tempo"},
    {IDC_ONOFF, ControlClass::Button, u"On/Off", BS_DEFPUSHBUTTON | WS_TABSTOP, 140, 7, 33, 23},
    {IDC_SOUND_FRAME, ControlClass::Button, u"Click sound && Volume level", BS_GROUPBOX, 26, 77,
     106, 47},
    {IDC_SOUND_METRONOME, ControlClass::Button, u"Metronome", kRadio | WS_GROUP, 30, 88, 57, 10},
    {IDC_SOUND_DIGITAL, ControlClass::Button, u"Digital", kRadio, 91, 99, 30, 10},
    {IDC_SOUND_HIHAT, ControlClass::Button, u"Closed Hi-Hat", kRadio, 30, 99, 56, 10},
    {IDC_SOUND_RIM, ControlClass::Button, u"Rim", kRadio, 91, 88, 21, 10},
    {IDC_SIGNATURE_FRAME, ControlClass::Button, u"Signature", BS_GROUPBOX, 136, 36, 66, 88},
    {IDC_SIGNATURE_1_4, ControlClass::Button, u"1/4", kRadio | WS_GROUP, 143, 46, 24, 10},
    {IDC_SIGNATURE_2_4, ControlClass::Button, u"2/4", kRadio, 143, 58, 24, 10},
    {IDC_SIGNATURE_3_4, ControlClass::Button, u"3/4", kRadio, 143, 70, 24, 9},
    {IDC_SIGNATURE_4_4, ControlClass::Button, u"4/4", kRadio, 143, 82, 24, 10},
    {IDC_SIGNATURE_5_4, ControlClass::Button, u"5/4", kRadio, 143, 94, 24, 10},
    {IDC_SIGNATURE_6_4, ControlClass::Button, u"6/4", kRadio, 143, 106, 24, 10},
    {IDC_SIGNATURE_1_8, ControlClass::Button, u"1/8", kRadio, 173, 46, 24, 10},
    {IDC_SIGNATURE_2_8, ControlClass::Button, u"2/8", kRadio, 173, 58, 24, 10},
    {IDC_SIGNATURE_3_8, ControlClass::Button, u"3/8", kRadio, 173, 70, 24, 10},
    {IDC_SIGNATURE_4_8, ControlClass::Button, u"4/8", kRadio, 173, 82, 24, 10},
    {IDC_SIGNATURE_5_8, ControlClass::Button, u"5/8", kRadio, 173, 94, 24, 10},
    {IDC_SIGNATURE_6_8, ControlClass::Button, u"6/8", kRadio, 173, 106, 24, 10},
    {IDC_VOLUME, ControlClass::Trackbar, nullptr, TBS_HORZ | TBS_NOTICKS | TBS_BOTH | WS_TABSTOP,
     40, 111, 77, 10, 0, u"Volume level"},
    {IDC_TAP, ControlClass::Button, u"Tap", kPush, 177, 7, 25, 23},
    {IDC_NO_FIXED_SCALE, ControlClass::Button, u"No fixed scale", BS_AUTOCHECKBOX | WS_TABSTOP, 69,
     25, 56, 10},
    {IDC_TEMPO_VALUE, ControlClass::Edit, nullptr,
     WS_BORDER | WS_GROUP | WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL, 26, 7, 19, 12, 0, u"Tempo"},
    {IDC_TEMPO_NAME, ControlClass::Edit, nullptr,
     WS_BORDER | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, 49, 7, 83, 12, 0, u"Tempo name"},
    {IDC_PRESET_2, ControlClass::Button, u"2", kPush, 7, 22, 12, 13},
    {IDC_PRESET_3, ControlClass::Button, u"3", kPush, 7, 36, 12, 13},
    {IDC_PRESET_4, ControlClass::Button, u"4", kPush, 7, 51, 12, 13},
    {IDC_PRESET_5, ControlClass::Button, u"5", kPush, 7, 66, 12, 13},
    {IDC_PRESET_6, ControlClass::Button, u"6", kPush, 7, 81, 12, 13},
    {IDC_PRESET_1, ControlClass::Button, u"1", kPush, 7, 7, 12, 13},
    {IDC_PRESET_7, ControlClass::Button, u"7", kPush, 7, 96, 12, 13},
    {IDC_PRESET_8, ControlClass::Button, u"8", kPush, 7, 111, 12, 13},
    {IDC_COMMENTS, ControlClass::Edit, nullptr,
     ES_MULTILINE | ES_CENTER | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_BORDER |
         WS_TABSTOP,
     26, 40, 106, 36, 0, u"Comments"},
    {IDC_SAVE_PRESET, ControlClass::Button, nullptr, kPush, 33, 27, 6, 6},
    {-1, ControlClass::Static, u"Save", SS_LEFT | WS_GROUP, 42, 26, 18, 8},
};

const ui::InitialData kMainInitialData[] = {
    {IDC_TEMPO_LIST, tempo::kTempoRowTexts},
};

const ControlTemplate kAboutControls[] = {
    {-1, ControlClass::Static, nullptr, SS_ICON, 7, 7, 20, 20, IDR_MAINFRAME},
    {IDOK, ControlClass::Button, u"OK", BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 166, 7, 26, 20},
    {-1, ControlClass::Static,
     u"Vorla Metronome Version 2007.09\nMade by Vorla for musicians who practise every day.",
     SS_LEFT | SS_NOPREFIX | WS_GROUP, 40, 7, 122, 25},
    {IDC_WEB_PAGE, ControlClass::Button, u"More software for musicians on the Vorla web site",
     kPush, 7, 35, 185, 15},
};

const ControlTemplate kSavePresetControls[] = {
    {IDOK, ControlClass::Button, u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 99, 28, 50, 14},
    {IDCANCEL, ControlClass::Button, u"Cancel", kPush, 42, 28, 50, 14},
    {-1, ControlClass::Static,
     u"Please select number of preset to save it.\nOld data of selected preset will be erased!",
     SS_CENTER | WS_GROUP, 9, 5, 138, 20},
    {IDC_PRESET_LIST, ControlClass::ComboBox, nullptr,
     CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP, 7, 29, 25, 91},
};

constexpr const char16_t* kPresetRows[] = {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8"};
const ui::InitialData kSavePresetInitialData[] = {
    {IDC_PRESET_LIST, kPresetRows},
};

const ui::DialogTemplate kMainDialog{
    IDD_METRONOME_DIALOG,
    u"Vorla Metronome 2007.11.11",
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_SETFONT,
    WS_EX_APPWINDOW,
    0,
    0,
    209,
    131,
    u"Verdana",
    10,
    400,
    204,
    kMainControls,
    kMainInitialData,
};

const ui::DialogTemplate kAboutBox{
    IDD_ABOUTBOX,
    u"About Vorla Metronome 2007.09",
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS,
    0,
    0,
    0,
    199,
    58,
    u"MS Shell Dlg",
    8,
    400,
    1,
    kAboutControls,
    {},
};

const ui::DialogTemplate kSavePreset{
    IDD_SAVE_PRESET,
    u"Save User Preset",
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    0,
    0,
    0,
    156,
    49,
    u"MS Shell Dlg",
    8,
    400,
    1,
    kSavePresetControls,
    kSavePresetInitialData,
};

}  // namespace

const ui::DialogTemplate& AboutBoxTemplate() {
    return kAboutBox;
}
const ui::DialogTemplate& MainDialogTemplate() {
    return kMainDialog;
}
const ui::DialogTemplate& SavePresetTemplate() {
    return kSavePreset;
}

}  // namespace res
