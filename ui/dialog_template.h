// Dialog templates as plain data: the dialog's frame, and its controls in template order, which is
// also the tab order and the order in which radio groups are counted.
#pragma once

#include <cstdint>
#include <span>

#include "ui/win_defs.h"

namespace ui {

enum class ControlClass { Button, Edit, Static, ComboBox, Trackbar };

struct ControlTemplate {
    int id;  // -1 for controls without an id
    ControlClass cls;
    const char16_t* caption;  // as written in the template: "&&" shows one ampersand
    DWORD style;              // WS_CHILD | WS_VISIBLE are implied
    short x, y, cx, cy;       // dialog units
    UINT iconId = 0;          // for SS_ICON statics
    // The name a screen reader gives a control that neither its text nor a label names.
    const char16_t* accessibleName = nullptr;
};

struct InitialData {
    int controlId;
    std::span<const char16_t* const> rows;
};

struct DialogTemplate {
    UINT id;
    const char16_t* caption;
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;  // dialog units
    const char16_t* fontName;
    WORD pointSize;
    WORD fontWeight;
    BYTE charset;
    std::span<const ControlTemplate> controls;
    std::span<const InitialData> initialData;
};

// An icon resource in several square sizes; pixels are 0xAARRGGBB, row by row from the top.
struct IconImage {
    int size;
    std::span<const std::uint32_t> argb;
};

}  // namespace ui

// An icon handle points at one of these.
struct IconResource : HICON__ {
    UINT id = 0;
    std::span<const ui::IconImage> images;
};

namespace ui {

// The program's resources, installed once at start-up by whoever owns them.
struct ResourceTable {
    const DialogTemplate* (*findDialog)(UINT id) = nullptr;
    const char16_t* (*findString)(UINT id) = nullptr;
    const IconResource* (*findIcon)(UINT id) = nullptr;
};

void InstallResources(const ResourceTable& table);
const DialogTemplate* FindDialogTemplate(UINT id);
const IconResource* FindIconResource(UINT id);
// An empty string when the id names no string.
const char16_t* FindStringResource(UINT id);

}  // namespace ui
