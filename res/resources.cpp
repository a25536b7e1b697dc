// The resource table that the dialog framework looks templates, strings and icons up in.
#include "res/resources.h"

#include "res/app_icon.h"
#include "res/resource_ids.h"
#include "res/strings.h"

namespace res {
namespace {

const ui::DialogTemplate* FindDialog(UINT id) {
    for (const ui::DialogTemplate* t :
         {&AboutBoxTemplate(), &MainDialogTemplate(), &SavePresetTemplate()})
        if (t->id == id)
            return t;
    return nullptr;
}

const char16_t* FindStringEntry(UINT id) {
    return FindString(id);
}

const IconResource* FindIcon(UINT id) {
    return id == IDR_MAINFRAME ? &AppIcon() : nullptr;
}

const ui::ResourceTable kTable{FindDialog, FindStringEntry, FindIcon};

}  // namespace

const ui::ResourceTable& Table() {
    return kTable;
}

}  // namespace res
