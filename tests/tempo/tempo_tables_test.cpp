// The constant tempo tables checked against the rules they were written from.
#include <gtest/gtest.h>

#include <string>

#include "tempo/snap_table.h"
#include "tempo/tempo_naming.h"
#include "tempo/tempo_scale.h"

namespace {

using tempo::kTempoScale;

TEST(TempoTables, EachScaleRowHasItsRoundedPeriodAndTheNameItsTempoGets) {
    for (std::size_t i = 0; i < tempo::kToneRow; ++i) {
        SCOPED_TRACE(testing::Message() << "row " << i);
        const tempo::TempoRow& row = kTempoScale[i];
        // 60000 / bpm to the nearest millisecond, halves up.
        const int rounded = (2 * 60000 + row.bpm) / (2 * row.bpm);
        EXPECT_EQ(row.periodMs, rounded) << i;
        const std::u16string expected = [&] {
            std::u16string text;
            for (char c : std::to_string(row.bpm))
                text += static_cast<char16_t>(c);
            return text + u" " + tempo::TempoName(row.bpm);
        }();
        EXPECT_TRUE(expected == row.text) << i;
        EXPECT_EQ(tempo::FindTempoRow(row.text), static_cast<int>(i));
    }
    EXPECT_EQ(kTempoScale[tempo::kToneRow].periodMs, -1);
    EXPECT_EQ(tempo::FindTempoRow(u"A4 TONE (440 Hz)"), tempo::kToneRow);
    EXPECT_EQ(kTempoScale[13].periodMs, 870);  // 69 BPM: rounded, where free entry gives 869
    EXPECT_EQ(kTempoScale[36].periodMs, 313);  // 192 BPM: 312.5 rounds up
    EXPECT_EQ(tempo::FindTempoRow(u"100 andante"), -1);
    EXPECT_EQ(tempo::FindTempoRow(u"100"), -1);
}

TEST(TempoTables, NamesChangeExactlyAtTheBorderTempos) {
    const struct {
        int bpm;
        const char16_t* name;
    } cases[] = {
        {-5, u"Largo"},
        {0, u"Largo"},
        {59, u"Largo"},
        {60, u"Largo/Larghetto"},
        {61, u"Larghetto"},
        {65, u"Larghetto"},
        {66, u"Larghetto/Adagio"},
        {67, u"Adagio"},
        {75, u"Adagio"},
        {76, u"Adagio/Andante"},
        {77, u"Andante"},
        {107, u"Andante"},
        {108, u"Andante/Moderato"},
        {109, u"Moderato"},
        {119, u"Moderato"},
        {120, u"Moderato/Allegro"},
        {121, u"Allegro"},
        {167, u"Allegro"},
        {168, u"Allegro/Presto"},
        {169, u"Presto"},
        {199, u"Presto"},
        {200, u"Presto/Prestissimo"},
        {201, u"Prestissimo"},
        {300, u"Prestissimo"},
        {301, u"Prestissimo"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bpm << " BPM");
        EXPECT_EQ(std::u16string(tempo::TempoName(c.bpm)), c.name) << c.bpm;
    }
}

TEST(TempoTables, EveryRowPeriodSnapsBackToItsOwnRow) {
    for (std::size_t i = 0; i < tempo::kSnapTable.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "row " << i);
        EXPECT_EQ(tempo::SnapRow(kTempoScale[i].periodMs), static_cast<int>(i)) << i;
    }
}

}  // namespace
