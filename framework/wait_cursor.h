#pragma once

#include <windows.h>

// Shows the wait cursor for as long as it lives: work on the user-interface thread that handles no input
// meanwhile (reading a disc) says so, instead of looking hung. When the last guard goes, the cursor that was
// there before the first one comes back.
//
// A message box shown while a guard lives is a question, not work: ShowMessage pauses the guards around it,
// so the box shows the cursor from before the wait and the wait cursor returns when it is dismissed.
// Guards nest; only the user-interface thread uses them.
class WaitCursor {
 public:
  WaitCursor();
  ~WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

  // While a Pause lives, the guards alive show the cursor from before the wait. Without a guard it does
  // nothing.
  class Pause {
   public:
    Pause();
    ~Pause();
    Pause(const Pause&) = delete;
    Pause& operator=(const Pause&) = delete;

   private:
    bool active_;
  };
};
