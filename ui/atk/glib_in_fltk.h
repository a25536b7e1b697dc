// Runs GLib's default main context inside FLTK's loop: its file descriptors and its next timeout
// are handed to FLTK, and whatever is ready is dispatched whenever FLTK wakes.
#pragma once

namespace ui::atk {

void StartGlibInFltk();
void StopGlibInFltk();

}  // namespace ui::atk
