// Ids of the dialog templates, controls, strings and the icon.
#pragma once

// Dialog templates.
inline constexpr unsigned IDD_ABOUTBOX = 100;
inline constexpr unsigned IDD_METRONOME_DIALOG = 102;
inline constexpr unsigned IDD_SAVE_PRESET = 142;

// Icon and strings.
inline constexpr unsigned IDR_MAINFRAME = 128;
inline constexpr unsigned IDS_ABOUTBOX = 101;
inline constexpr unsigned IDM_ABOUTBOX = 0x0010;  // system-menu command

// Controls of the main dialog.
inline constexpr int IDC_TEMPO_LIST = 1000;
inline constexpr int IDC_SOUND_METRONOME = 1003;
inline constexpr int IDC_SOUND_HIHAT = 1004;
inline constexpr int IDC_SOUND_RIM = 1005;
inline constexpr int IDC_SOUND_FRAME = 1006;
inline constexpr int IDC_SIGNATURE_FRAME = 1007;
inline constexpr int IDC_SIGNATURE_1_4 = 1008;
inline constexpr int IDC_SIGNATURE_2_4 = 1009;
inline constexpr int IDC_SIGNATURE_3_4 = 1010;
inline constexpr int IDC_SIGNATURE_4_4 = 1011;
inline constexpr int IDC_SIGNATURE_5_4 = 1012;
inline constexpr int IDC_VOLUME = 1017;
inline constexpr int IDC_SOUND_DIGITAL = 1019;
inline constexpr int IDC_ONOFF = 1020;
inline constexpr int IDC_SIGNATURE_6_4 = 1022;
inline constexpr int IDC_SIGNATURE_2_8 = 1023;
inline constexpr int IDC_SIGNATURE_3_8 = 1024;
inline constexpr int IDC_SIGNATURE_4_8 = 1025;
inline constexpr int IDC_SIGNATURE_5_8 = 1026;
inline constexpr int IDC_SIGNATURE_6_8 = 1027;
inline constexpr int IDC_SIGNATURE_1_8 = 1028;
inline constexpr int IDC_TEMPO_NAME = 1030;
inline constexpr int IDC_PRESET_2 = 1032;
inline constexpr int IDC_WEB_PAGE = 1033;
inline constexpr int IDC_TAP = 1034;
inline constexpr int IDC_NO_FIXED_SCALE = 1035;
inline constexpr int IDC_TEMPO_VALUE = 1036;
inline constexpr int IDC_PRESET_3 = 1037;
inline constexpr int IDC_PRESET_4 = 1038;
inline constexpr int IDC_PRESET_5 = 1039;
inline constexpr int IDC_PRESET_6 = 1040;
inline constexpr int IDC_PRESET_1 = 1041;
inline constexpr int IDC_PRESET_7 = 1042;
inline constexpr int IDC_PRESET_8 = 1043;
inline constexpr int IDC_COMMENTS = 1045;
inline constexpr int IDC_SAVE_PRESET = 1047;
inline constexpr int IDC_PRESET_LIST = 1048;
