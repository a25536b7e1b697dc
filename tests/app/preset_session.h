// Helpers for the preset tests: bank files in the working folder, a save through the Save dialog
// as the user makes it, and what the main dialog shows.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "app/metronome_dlg.h"
#include "res/resource_ids.h"
#include "support/app_harness.h"
#include "tests/presets/bank_bytes.h"
#include "tests/support/scratch_folder.h"

namespace preset_tests {

using test_support::AppHarness;
using test_support::MainDialog;
using ui::headless::Driver;
using Texts = std::vector<std::string>;

// The buttons "1" to "8"; their ids are not in caption order.
inline int PresetButton(int preset) {
    constexpr int kIds[] = {IDC_PRESET_1, IDC_PRESET_2, IDC_PRESET_3, IDC_PRESET_4,
                            IDC_PRESET_5, IDC_PRESET_6, IDC_PRESET_7, IDC_PRESET_8};
    return kIds[preset - 1];
}

inline std::filesystem::path BankPath(int preset) {
    return std::filesystem::current_path() / ("bank" + std::to_string(preset) + ".dat");
}

inline void WriteBank(int preset, const CBank& bank) {
    WriteWholeFile(BankPath(preset), Store(bank));
}

// Presses the tiny Save button, chooses `preset` in the Save dialog and confirms with OK.
inline void SavePreset(AppHarness& app, Driver& d, int preset) {
    app.ThenInNextDialog([preset](Driver& s) {
        s.ChooseRow(IDC_PRESET_LIST, preset - 1);
        s.Click(IDOK);
    });
    d.Click(IDC_SAVE_PRESET);
}

// Replaces the comments as the user does by selecting them all and typing.
inline void SetComments(Driver& d, const char16_t* text) {
    d.Focus(IDC_COMMENTS);
    d.Item(IDC_COMMENTS).UserSetText(text);
    d.Idle();
}

// A preset on the tempo scale: `row` of the tempo list, 4/4, "Metronome".
inline CBank ScalePreset(int row, std::int32_t periodMs) {
    CBank bank = AndantePreset();
    bank.m_nScaleRow = row;
    bank.m_nPeriodMs = periodMs;
    return bank;
}

// What the user sees and the click does, to compare before and after an action.
struct Shown {
    int row, signature, sound, check;
    bool comboVisible, valueVisible, tapEnabled, freeEnabled;
    int volume;
    CString comments, value, name;
    std::int32_t periodMs;
    bool running;
    std::size_t timerCalls, sounds;
    friend bool operator==(const Shown&, const Shown&) = default;
    // So that a failed comparison says which field differs rather than printing raw bytes.
    friend void PrintTo(const Shown& s, std::ostream* os) {
        *os << "{row " << s.row << ", signature " << s.signature << ", sound " << s.sound
            << ", check " << s.check << ", list " << (s.comboVisible ? "shown" : "hidden")
            << ", value " << (s.valueVisible ? "shown" : "hidden") << ", tap "
            << (s.tapEnabled ? "enabled" : "disabled") << ", free switch "
            << (s.freeEnabled ? "enabled" : "disabled") << ", volume " << s.volume
            << ", comments \"" << s.comments << "\", value \"" << s.value << "\", name \"" << s.name
            << "\", period " << s.periodMs << " ms, " << (s.running ? "running" : "stopped") << ", "
            << s.timerCalls << " timer calls, " << s.sounds << " sounds}";
    }
};

inline Shown Look(AppHarness& app, Driver& d) {
    return {d.CurSel(IDC_TEMPO_LIST),
            d.SelectedRadio(IDC_SIGNATURE_1_4),
            d.SelectedRadio(IDC_SOUND_METRONOME),
            d.Check(IDC_NO_FIXED_SCALE),
            d.Visible(IDC_TEMPO_LIST),
            d.Visible(IDC_TEMPO_VALUE),
            d.Enabled(IDC_TAP),
            d.Enabled(IDC_NO_FIXED_SCALE),
            d.SliderPos(IDC_VOLUME),
            d.Text(IDC_COMMENTS),
            d.Text(IDC_TEMPO_VALUE),
            d.Text(IDC_TEMPO_NAME),
            MainDialog(d).m_nBeatPeriodMs,
            MainDialog(d).m_bRunning,
            app.Calls("time").size(),
            app.Sounds().size()};
}

}  // namespace preset_tests
