// The resource script: icon 128, the two strings and the version values, written so that the
// resource compiler reads back the same text.
#include <gtest/gtest.h>

#include "res/windows/resource_script.h"

namespace {

using res::windows::ResourceScript;
using res::windows::WideLiteral;

TEST(ResourceScript, NamesTheIconTheStringsAndTheVersion) {
    const std::string rc = ResourceScript("metronome.ico");
    for (const char* line : {
             "128 ICON \"metronome.ico\"",
             "1 24 \"metronome.manifest\"",
             "101 L\"&About Vorla Metronome...\"",
             "1034 L\"Don't press this button 2 seconds if you change tapping temp value\"",
             "FILEVERSION 2007,11,11,0",
             "PRODUCTVERSION 2007,11,11,0",
             "VALUE \"FileVersion\", L\"2007.11.11\"",
             "VALUE \"ProductVersion\", L\"2007.11.11\"",
             "VALUE \"FileDescription\", L\"Vorla Metronome 2007.11.11\"",
             "VALUE \"ProductName\", L\"Vorla Metronome 2007.11.11\"",
             "VALUE \"Comments\", L\"This is software metronome for musicians\"",
             "VALUE \"Translation\", 0x409, 1200",
         }) {
        SCOPED_TRACE(line);
        EXPECT_NE(rc.find(line), std::string::npos);
    }
}

TEST(ResourceScript, TheManifestAsksForCommonControls6AndSaysTheProgramFollowsTheDpi) {
    const std::string manifest = res::windows::Manifest();
    for (const char* part : {
             "name=\"Microsoft.Windows.Common-Controls\"",
             "version=\"6.0.0.0\"",
             "publicKeyToken=\"6595b64144ccf1df\"",
             "version=\"2007.11.11.0\"",
             ">true</dpiAware>",
         })
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
}

TEST(ResourceScript, WideLiteralsDoubleQuotesAndEscapeTheRest) {
    EXPECT_EQ(WideLiteral(u"Press \"Tap\""), "L\"Press \"\"Tap\"\"\"");
    EXPECT_EQ(WideLiteral(u"a\\b"), "L\"a\\\\b\"");
    EXPECT_EQ(WideLiteral(u"line\nnext \u00e9"), "L\"line\\x000anext \\x00e9\"");
    EXPECT_EQ(WideLiteral(nullptr), "L\"\"");
}

}  // namespace
