// Dialog-unit layout: Windows' base units and rounding, and edges that stay shared in pixels.
#include <gtest/gtest.h>

#include "res/resources.h"
#include "ui/fltk/dialog_units.h"

namespace ui::fltk {
namespace {

TEST(DialogUnits, BaseUnitsAndRoundingFollowWindows) {
    // (width + 26) / 52 truncated: 389 px of letters still give 7, 390 give 8.
    EXPECT_EQ(BaseUnitsFromMeasure(389.0, 16).x, 7);
    EXPECT_EQ(BaseUnitsFromMeasure(390.0, 16).x, 8);
    EXPECT_EQ(BaseUnitsFromMeasure(390.0, 16).y, 16);
    // MulDiv rounds halves away from zero.
    EXPECT_EQ(MulDiv(6, 7, 4), 11);    // 10.5
    EXPECT_EQ(MulDiv(-6, 7, 4), -11);  // -10.5
    EXPECT_EQ(MulDiv(5, 7, 4), 9);     // 8.75
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(PointsToPixels(10), 13);
    EXPECT_EQ(PointsToPixels(8), 11);
}

TEST(DialogUnits, ControlsThatTouchInDialogUnitsTouchInPixels) {
    for (const BaseUnits units : {BaseUnits{6, 13}, BaseUnits{7, 16}, BaseUnits{8, 17}}) {
        for (int at = 0; at < 220; ++at) {
            for (int size = 1; size < 40; ++size) {
                SCOPED_TRACE(testing::Message() << "units " << units.x << "x" << units.y << ", at "
                                                << at << ", size " << size);
                const PixelRect first = DluToPixels(at, at, size, size, units);
                const PixelRect next = DluToPixels(at + size, at + size, 5, 5, units);
                ASSERT_EQ(first.x + first.w, next.x) << at << "+" << size;
                ASSERT_EQ(first.y + first.h, next.y) << at << "+" << size;
            }
        }
    }
}

TEST(DialogUnits, MainDialogControlsLieInsideTheClientArea) {
    const DialogTemplate& t = res::MainDialogTemplate();
    const BaseUnits units{8, 17};
    const PixelRect client = ClientSize(t, units);
    EXPECT_EQ(client.w, 418);
    EXPECT_EQ(client.h, 278);
    for (const ControlTemplate& c : t.controls) {
        SCOPED_TRACE(testing::Message() << "control " << c.id);
        if (c.id == 1000)
            continue;  // its height is that of the open list
        const PixelRect r = ControlRect(c, units);
        EXPECT_GE(r.x, 0) << c.id;
        EXPECT_GE(r.y, 0) << c.id;
        EXPECT_LE(r.x + r.w, client.w) << c.id;
        EXPECT_LE(r.y + r.h, client.h) << c.id;
        EXPECT_GT(r.w, 0) << c.id;
        EXPECT_GT(r.h, 0) << c.id;
    }
}

TEST(DesktopScale, TheDpiComesFromXftDpiThenGdkScaleThenQtScaleFactor) {
    EXPECT_EQ(DesktopDpiFrom(nullptr, nullptr, nullptr), 96);
    EXPECT_EQ(DesktopDpiFrom("Xft.antialias:\t1\nXft.dpi:\t192\n", "3", "1.5"), 192);
    EXPECT_EQ(DesktopDpiFrom("Xft.dpi: 144.0", nullptr, nullptr), 144);
    EXPECT_EQ(DesktopDpiFrom("Xft.hinting:\t1\n", "2", "1.5"), 192);
    EXPECT_EQ(DesktopDpiFrom("", "", "1.25"), 120);
    // Nonsense is passed over for the next source.
    EXPECT_EQ(DesktopDpiFrom("Xft.dpi:\tlarge\n", "0", "1.5"), 144);
    EXPECT_EQ(DesktopDpiFrom("Xft.dpi:\t-96\nXft.dpi:\t120\n", nullptr, nullptr), 120);
    EXPECT_EQ(DesktopDpiFrom("Xft.dpi:\t100000\n", "2x", "nan"), 96);
    EXPECT_EQ(DesktopDpiFrom("NotXft.dpi:\t192\n", nullptr, nullptr), 96);
}

TEST(DesktopScale, TheMainDialogGrowsWithItsProportions) {
    const DialogTemplate& t = res::MainDialogTemplate();
    const BaseUnits plain{8, 17};
    const PixelRect twice = ClientSize(t, ScaleToDpi(plain, 192));
    EXPECT_EQ(twice.w, 836);
    EXPECT_EQ(twice.h, 557);
    const PixelRect half = ClientSize(t, ScaleToDpi(plain, 144));
    EXPECT_EQ(half.w, 627);  // base units 12 x 26
    EXPECT_EQ(half.h, 426);
    EXPECT_EQ(ScaleToDpi(13, 192), 26);  // Verdana 10 pt: 13 px at 96 dpi
    EXPECT_EQ(ScaleToDpi(13, 96), 13);
}

}  // namespace
}  // namespace ui::fltk
