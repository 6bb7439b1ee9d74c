#include "framework/dialog_layout.h"

#include <optional>
#include <vector>

#include "framework/dialog_template.h"

namespace {

const LPCSTR kDialogResourceType = MAKEINTRESOURCEA(5);  // RT_DIALOG

std::optional<DialogTemplate> LoadTemplate(HMODULE module, LPCSTR name) {
  HRSRC found = FindResourceA(module, name, kDialogResourceType);
  if (found == nullptr) return std::nullopt;
  HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr) return std::nullopt;
  return ParseDialogTemplate(data, SizeofResource(module, found));
}

RECT ToPixels(int x, int y, int cx, int cy, BaseUnits units) {
  const int left = MulDiv(x, units.x, 4);
  const int top = MulDiv(y, units.y, 8);
  return RECT{left, top, left + MulDiv(cx, units.x, 4), top + MulDiv(cy, units.y, 8)};
}

// Where the platform puts a top-level dialog of this size. The template position is that of the client area,
// from the owner's client area (from the screen's corner without an owner, or with DS_ABSALIGN); with
// DS_CENTER the whole window is centred on the work area instead. Then the window is moved into the work
// area, with a dialog frame's width to spare on the right and at the bottom.
POINT TopLevelPosition(HWND dialog, DWORD style, POINT clientAt, POINT frameOffset, SIZE size) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  POINT at = {clientAt.x - frameOffset.x, clientAt.y - frameOffset.y};
  if ((style & DS_CENTER) != 0) {
    at = {(work.left + work.right - size.cx) / 2, (work.top + work.bottom - size.cy) / 2};
  } else {
    const HWND owner = GetWindow(dialog, GW_OWNER);
    if (owner != nullptr && (style & DS_ABSALIGN) == 0) ClientToScreen(owner, &at);
  }
  const LONG overRight = at.x + size.cx + GetSystemMetrics(SM_CXDLGFRAME) - work.right;
  const LONG overBottom = at.y + size.cy + GetSystemMetrics(SM_CYDLGFRAME) - work.bottom;
  if (overRight > 0) at.x -= overRight;
  if (overBottom > 0) at.y -= overBottom;
  if (at.x < work.left) at.x = work.left;
  if (at.y < work.top) at.y = work.top;
  return at;
}

void PlaceWindow(HWND dialog, const DialogTemplate& dialogTemplate, BaseUnits units) {
  const RECT client =
      ToPixels(dialogTemplate.x, dialogTemplate.y, dialogTemplate.cx, dialogTemplate.cy, units);
  // The frame is measured rather than computed from the styles: whatever frame the platform drew, the client
  // area comes out exactly.
  RECT window;
  RECT oldClient;
  GetWindowRect(dialog, &window);
  GetClientRect(dialog, &oldClient);
  POINT clientOrigin = {0, 0};
  ClientToScreen(dialog, &clientOrigin);
  const POINT frameOffset = {clientOrigin.x - window.left, clientOrigin.y - window.top};
  const SIZE size = {client.right - client.left + (window.right - window.left) - oldClient.right,
                     client.bottom - client.top + (window.bottom - window.top) - oldClient.bottom};
  const POINT clientAt = {client.left, client.top};
  // A child dialog: the template position in its parent's client area, nothing more.
  POINT at = {clientAt.x - frameOffset.x, clientAt.y - frameOffset.y};
  if ((dialogTemplate.style & WS_CHILD) == 0) {
    at = TopLevelPosition(dialog, dialogTemplate.style, clientAt, frameOffset, size);
  }
  SetWindowPos(dialog, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

// A picture or icon static sizes itself to its image when it gets one, unless told to centre it or to keep
// the template size.
bool SizedByItsImage(HWND control) {
  char name[16] = {};
  GetClassNameA(control, name, sizeof name);
  if (lstrcmpiA(name, "Static") != 0) return false;
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  if ((style & (SS_CENTERIMAGE | SS_REALSIZECONTROL)) != 0) return false;
  const LONG type = style & SS_TYPEMASK;
  if (type != SS_BITMAP && type != SS_ICON) return false;
  return SendMessageA(control, STM_GETIMAGE, type == SS_BITMAP ? IMAGE_BITMAP : IMAGE_ICON, 0) != 0;
}

bool SameId(HWND control, std::uint32_t id) {
  // The older template form holds 16-bit ids, which the platform may widen either way.
  return LOWORD(GetDlgCtrlID(control)) == LOWORD(id);
}

// The controls a dialog creates from its template come in template order, each after the previous one in
// the sibling order. The ids confirm the pairing; should anything have come in between, the item's control is
// the first unused one with its id.
bool PlaceControls(HWND dialog, const DialogTemplate& dialogTemplate, BaseUnits units) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  std::vector<bool> used(children.size(), false);
  bool allPlaced = true;
  for (std::size_t i = 0; i < dialogTemplate.items.size(); ++i) {
    const DialogTemplateItem& item = dialogTemplate.items[i];
    std::size_t match = i;
    if (match >= children.size() || used[match] || !SameId(children[match], item.id)) {
      for (match = 0; match < children.size(); ++match) {
        if (!used[match] && SameId(children[match], item.id)) break;
      }
    }
    if (match >= children.size()) {
      allPlaced = false;
      continue;
    }
    used[match] = true;
    const HWND control = children[match];
    const RECT place = ToPixels(item.x, item.y, item.cx, item.cy, units);
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (SizedByItsImage(control)) flags |= SWP_NOSIZE;
    SetWindowPos(control, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 flags);
  }
  return allPlaced;
}

}  // namespace

bool LayOutAtBaseUnits(HWND dialog, HMODULE module, LPCSTR name, BaseUnits units) {
  const std::optional<DialogTemplate> dialogTemplate = LoadTemplate(module, name);
  if (!dialogTemplate) return false;
  PlaceWindow(dialog, *dialogTemplate, units);
  return PlaceControls(dialog, *dialogTemplate, units);
}
