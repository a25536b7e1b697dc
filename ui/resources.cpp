// Lookup of the installed resource table.
#include "ui/dialog_template.h"

namespace ui {
namespace {
ResourceTable g_resources;
}

void InstallResources(const ResourceTable& table) {
    g_resources = table;
}

const DialogTemplate* FindDialogTemplate(UINT id) {
    return g_resources.findDialog ? g_resources.findDialog(id) : nullptr;
}

const IconResource* FindIconResource(UINT id) {
    return g_resources.findIcon ? g_resources.findIcon(id) : nullptr;
}

const char16_t* FindStringResource(UINT id) {
    const char16_t* s = g_resources.findString ? g_resources.findString(id) : nullptr;
    return s ? s : u"";
}

}  // namespace ui
