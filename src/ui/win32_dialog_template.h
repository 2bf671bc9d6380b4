#pragma once

#include "ui/dialog_template.h"

#include <string_view>
#include <vector>
#include <windows.h>

namespace quarvel {

// The window styles a template's control gets, beside WS_CHILD and WS_VISIBLE.
DWORD win32ControlStyle(ControlKind kind);

// An in-memory dialog template for DialogBoxIndirectParamW: the dialog's styles, title, font
// and every control at its rectangle in dialog units, in tab order. The drop-down lists' items
// are not part of it: fillDropDownLists adds them once the dialog exists.
std::vector<WORD> win32DialogTemplate(const DialogTemplate& dialogTemplate);

// Fills every drop-down list of the dialog with the template's items, in order.
void fillDropDownLists(HWND dialog, const DialogTemplate& dialogTemplate);

// UTF-8 text as a window takes it.
std::wstring wideText(std::string_view text);
// A window's text as UTF-8.
std::string windowText(HWND window);

} // namespace quarvel
