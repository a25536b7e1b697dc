// The classical tempo scale offered by the tempo list: 39 tempo rows and the A4 reference tone.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tempo {

struct TempoRow {
    const char16_t* text;  // exactly as the list shows it
    int bpm;               // 0 for the tone row
    std::int32_t
        periodMs;  // 60000 / bpm rounded to the nearest millisecond, halves up; -1 for the tone
};

inline constexpr std::int32_t kTonePeriod = -1;
inline constexpr int kToneRow = 39;
inline constexpr char16_t kToneRowText[] = u"A4 TONE (440 Hz)";

inline constexpr std::array<TempoRow, 40> kTempoScale = {{
    {u"40 Largo", 40, 1500},
    {u"42 Largo", 42, 1429},
    {u"44 Largo", 44, 1364},
    {u"46 Largo", 46, 1304},
    {u"48 Largo", 48, 1250},
    {u"50 Largo", 50, 1200},
    {u"52 Largo", 52, 1154},
    {u"54 Largo", 54, 1111},
    {u"56 Largo", 56, 1071},
    {u"58 Largo", 58, 1034},
    {u"60 Largo/Larghetto", 60, 1000},
    {u"63 Larghetto", 63, 952},
    {u"66 Larghetto/Adagio", 66, 909},
    {u"69 Adagio", 69, 870},
    {u"72 Adagio", 72, 833},
    {u"76 Adagio/Andante", 76, 789},
    {u"80 Andante", 80, 750},
    {u"84 Andante", 84, 714},
    {u"88 Andante", 88, 682},
    {u"92 Andante", 92, 652},
    {u"96 Andante", 96, 625},
    {u"100 Andante", 100, 600},
    {u"104 Andante", 104, 577},
    {u"108 Andante/Moderato", 108, 556},
    {u"112 Moderato", 112, 536},
    {u"116 Moderato", 116, 517},
    {u"120 Moderato/Allegro", 120, 500},
    {u"126 Allegro", 126, 476},
    {u"132 Allegro", 132, 455},
    {u"138 Allegro", 138, 435},
    {u"144 Allegro", 144, 417},
    {u"152 Allegro", 152, 395},
    {u"160 Allegro", 160, 375},
    {u"168 Allegro/Presto", 168, 357},
    {u"176 Presto", 176, 341},
    {u"184 Presto", 184, 326},
    {u"192 Presto", 192, 313},
    {u"200 Presto/Prestissimo", 200, 300},
    {u"208 Prestissimo", 208, 288},
    {kToneRowText, 0, kTonePeriod},
}};

// The row texts alone, in list order: the tempo list's initial data.
inline constexpr std::array<const char16_t*, kTempoScale.size()> kTempoRowTexts = [] {
    std::array<const char16_t*, kTempoScale.size()> texts{};
    for (std::size_t i = 0; i < kTempoScale.size(); ++i)
        texts[i] = kTempoScale[i].text;
    return texts;
}();

// The first row whose text is exactly `text` (case-sensitive), or -1 when none is.
constexpr int FindTempoRow(std::u16string_view text) {
    for (std::size_t i = 0; i < kTempoScale.size(); ++i)
        if (text == kTempoScale[i].text)
            return static_cast<int>(i);
    return -1;
}

}  // namespace tempo
