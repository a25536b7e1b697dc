// The string table.
#include "res/strings.h"

#include "res/resource_ids.h"

namespace res {

const char16_t* FindString(unsigned id) {
    switch (id) {
        case IDS_ABOUTBOX:
            return u"&About Vorla Metronome...";
        case IDC_TAP:
            return u"Don't press this button 2 seconds if you change tapping temp value";
        default:
            return nullptr;
    }
}

}  // namespace res
