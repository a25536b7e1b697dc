// The accessible model spoken on the desktop's accessibility bus (AT-SPI), through ATK and its
// bridge at-spi2-atk, as GTK 3 programs speak it; GLib's loop runs inside FLTK's.
//  [x] The application, its dialogs and message boxes (as alerts) with every control
//  [x] Roles, names, states, relations; actions (a message box's OK too), the value of sliders,
//      text with caret and selection, the rows of lists as a selection
//  [x] Events: focus, states, names, values, text and caret, rows; windows created, activated,
//      deactivated and destroyed
//  [ ] Positions and sizes on the screen (the component interface only grabs the focus)
//  [ ] Editing text through the bus: a reader types with the keyboard
#pragma once

#include <memory>

namespace ui::atk {

class Bridge;

// Listens to the model from its construction; connects to the bus once FLTK's loop first runs,
// and only where the desktop offers one. Without a bus nothing is started and nothing printed.
class AtSpiBridge {
  public:
    AtSpiBridge();
    ~AtSpiBridge();
    AtSpiBridge(const AtSpiBridge&) = delete;
    AtSpiBridge& operator=(const AtSpiBridge&) = delete;

    // A session bus or an accessibility bus is named in the environment, or a user bus is at
    // its standard place.
    static bool BusReachable();

  private:
    std::unique_ptr<Bridge> bridge_;
};

}  // namespace ui::atk
