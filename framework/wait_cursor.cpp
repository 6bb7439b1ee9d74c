#include "framework/wait_cursor.h"

namespace {

// One user-interface thread: plain counters are enough.
int guards = 0;
int pauses = 0;
// The cursor before the first guard. A thread that has set none yet has none; putting "none" back would hide
// the pointer until it moves, so the arrow stands in for it.
HCURSOR before = nullptr;

void ShowCursorOfTheMoment() {
  if (guards > 0 && pauses == 0) {
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  } else {
    SetCursor(before != nullptr ? before : LoadCursorA(nullptr, IDC_ARROW));
  }
}

}  // namespace

WaitCursor::WaitCursor() {
  if (guards++ == 0) before = GetCursor();
  ShowCursorOfTheMoment();
}

WaitCursor::~WaitCursor() {
  --guards;
  ShowCursorOfTheMoment();
}

WaitCursor::Pause::Pause() : active_(guards > 0) {
  if (!active_) return;
  ++pauses;
  ShowCursorOfTheMoment();
}

WaitCursor::Pause::~Pause() {
  if (!active_) return;
  --pauses;
  // The guards may all have gone meanwhile; their last one has put the old cursor back already.
  if (guards > 0) ShowCursorOfTheMoment();
}
