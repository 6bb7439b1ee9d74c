#pragma once

#include <windows.h>

// Dialog templates place windows in dialog units, which the platform turns into pixels through the metrics
// of the dialog font: a quarter of the font's average character width across, an eighth of its height down.
// Windows drawn from pictures need the pixels the pictures were drawn for, whatever font the system has at
// hand, so their layout is taken at fixed base units instead.
struct BaseUnits {
  int x;
  int y;
};

// MS Sans Serif 8 pt at 96 dpi on Windows: 4 by 8 dialog units are 6 by 13 pixels.
constexpr BaseUnits kClassicBaseUnits = {6, 13};

// Moves and sizes the dialog `dialog`, just created from the template `name` of `module`, and each control
// the template created, to the pixels the platform would have given them had the dialog font had `units`:
// the client area and every control at MulDiv(x, units.x, 4), MulDiv(y, units.y, 8) and likewise for the
// sizes. A picture or icon static that sized itself to its image keeps its size, as it would have there. The
// window keeps the platform's placement rules (centred on the work area with DS_CENTER, otherwise at the
// template position from its owner's client area) and is kept inside the work area as the platform keeps it.
// Meant for WM_INITDIALOG, before anything else moves the windows. False when the template cannot be read or
// a template item has no control; whatever could be placed is placed.
bool LayOutAtBaseUnits(HWND dialog, HMODULE module, LPCSTR name, BaseUnits units = kClassicBaseUnits);
