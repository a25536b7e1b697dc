// The font a dialog template asks for, as an FLTK face and pixel size, with the base units that
// lay the dialog out. Needs an open display.
#pragma once

#include <FL/Enumerations.H>

#include <string>

#include "ui/dialog_template.h"
#include "ui/fltk/dialog_units.h"

namespace ui::fltk {

struct DialogFont {
    Fl_Font face = FL_HELVETICA;
    int size = 13;  // pixels
    BaseUnits units{6, 13};
};

// A new FLTK face for `name` (FLTK's form: a style letter, then fontconfig families).
Fl_Font AddFace(const std::string& name);

// Measured once per font name and size; fontconfig picks the nearest installed face.
const DialogFont& FontFor(const char16_t* name, int points);
const DialogFont& FontFor(const DialogTemplate& t);

}  // namespace ui::fltk
