// The eight presets by number (1 to 8): their buttons and bank files.
#pragma once

#include "base/cstring.h"
#include "res/resource_ids.h"

inline constexpr int kPresetCount = 8;

// The buttons "1" to "8"; their ids are not in caption order.
inline int PresetButtonId(int preset) {
    constexpr int kIds[kPresetCount] = {IDC_PRESET_1, IDC_PRESET_2, IDC_PRESET_3, IDC_PRESET_4,
                                        IDC_PRESET_5, IDC_PRESET_6, IDC_PRESET_7, IDC_PRESET_8};
    return kIds[preset - 1];
}

// "bank1.dat" to "bank8.dat".
inline CString PresetFileName(int preset) {
    return CString(u"bank" + std::u16string(1, static_cast<char16_t>(u'0' + preset)) + u".dat");
}

// The preset whose bank file is `fileName`, 0 for any other name.
inline int PresetOfFile(const CString& fileName) {
    for (int preset = 1; preset <= kPresetCount; ++preset)
        if (fileName == PresetFileName(preset))
            return preset;
    return 0;
}
