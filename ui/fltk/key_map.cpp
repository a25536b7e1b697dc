// Key translation; letters and digits keep their ASCII codes, as Windows' virtual keys do.
#include "ui/fltk/key_map.h"

#include <FL/Enumerations.H>

namespace ui::fltk {
namespace {

constexpr int kIsoLeftTab = 0xfe20;  // X's name for Shift+Tab

UINT VirtualKey(int key) {
    switch (key) {
        case FL_Tab:
        case kIsoLeftTab:
            return VK_TAB;
        case FL_Enter:
        case FL_KP_Enter:
            return VK_RETURN;
        case FL_Escape:
            return VK_ESCAPE;
        case ' ':
            return VK_SPACE;
        case FL_BackSpace:
            return VK_BACK;
        case FL_Page_Up:
            return VK_PRIOR;
        case FL_Page_Down:
            return VK_NEXT;
        case FL_Home:
            return VK_HOME;
        case FL_End:
            return VK_END;
        case FL_Left:
            return VK_LEFT;
        case FL_Up:
            return VK_UP;
        case FL_Right:
            return VK_RIGHT;
        case FL_Down:
            return VK_DOWN;
        case FL_Insert:
            return VK_INSERT;
        case FL_Delete:
            return VK_DELETE;
        case FL_F + 1:
            return VK_F1;
        case FL_F + 4:
            return VK_F4;
        case FL_Media_Play:  // XF86AudioPlay: most keyboards have one key to start and stop
            return VK_MEDIA_PLAY_PAUSE;
        case FL_Media_Stop:
            return VK_MEDIA_STOP;
        case FL_Media_Next:
            return VK_MEDIA_NEXT_TRACK;
        case FL_Media_Prev:
            return VK_MEDIA_PREV_TRACK;
        default:
            break;
    }
    if (key >= 'a' && key <= 'z')
        return static_cast<UINT>(key - 'a' + 'A');
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return static_cast<UINT>(key);
    return 0;
}

}  // namespace

KeyStroke ToKeyStroke(int fltkKey, int fltkState) {
    KeyStroke stroke;
    stroke.vk = VirtualKey(fltkKey);
    if (fltkState & FL_SHIFT)
        stroke.modifiers |= kShift;
    if (fltkState & FL_CTRL)
        stroke.modifiers |= kControl;
    if (fltkState & FL_ALT)
        stroke.modifiers |= kAlt;
    return stroke;
}

}  // namespace ui::fltk
