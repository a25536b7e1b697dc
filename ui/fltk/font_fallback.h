// Characters the interface font lacks (Japanese in a Latin font, say) are drawn and measured with
// the font that fontconfig ranks first among those that have them, as the desktop's toolkits do;
// FLTK 1.3 on Xft draws every text with the one font it was given.
#pragma once

namespace ui::fltk {

// Needs the display open. From then on text on the screen is drawn with fallback fonts.
void InstallFontFallback();

}  // namespace ui::fltk
