// The framework's own modal loop (Dialog::DoModal), over the program's templates: how the owner is disabled
// and given back, how each way of ending a dialog reaches the caller, and how nested dialogs unwind.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "res/resource.h"
#include "tests/wine/dialog_script.h"

using namespace script;

namespace {

using Steps = std::vector<DialogScript::Step>;

constexpr int kEndCommand = 0x7001;    // the dialog ends itself with kOwnResult
constexpr int kThrowCommand = 0x7002;  // the handler throws
constexpr INT_PTR kOwnResult = 7;
constexpr int kQuitCode = 42;

enum class AtInit { kNothing, kEnd, kThrow };

class LoopDialog : public Dialog {
 public:
  explicit LoopDialog(int templateId, HWND owner = nullptr, AtInit atInit = AtInit::kNothing)
      : Dialog(templateId, owner), atInit_(atInit) {}

 protected:
  BOOL OnInitDialog() override {
    if (atInit_ == AtInit::kThrow) throw std::runtime_error("initialisation failed");
    if (atInit_ == AtInit::kEnd) EndDialog(kOwnResult);
    return TRUE;
  }
  bool OnCommand(int id, int, HWND) override {
    if (id == kThrowCommand) throw std::runtime_error("handler failed");
    if (id == kEndCommand) EndDialog(kOwnResult);
    return id == kEndCommand;
  }

 private:
  AtInit atInit_;
};

DialogScript::Step Look(DialogScript::Step look) { return look; }
DialogScript::Step Destroy() {
  return [](HWND dialog) { DestroyWindow(dialog); };
}
DialogScript::Step Quit() {
  return [](HWND) { PostQuitMessage(kQuitCode); };
}

// The quit code waiting in this thread's queue, removed; -1 when there is none.
int TakeQuit() {
  MSG msg;
  return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) ? static_cast<int>(msg.wParam) : -1;
}

// The owner is the main window's template run by the same loop, with the focus on its list; the dialog under
// test is the copy destination's template, opened from it.
TEST(ModalLoopTest, OwnerIsDisabledWhileTheDialogRunsAndGetsTheFocusBackHoweverItEnds) {
  const struct {
    const char* name;
    AtInit atInit;
    Steps ending;
    INT_PTR result;
  } cases[] = {
      {"its own end", AtInit::kNothing, {Command(kEndCommand)}, kOwnResult},
      {"Escape", AtInit::kNothing, {Key(VK_ESCAPE)}, IDCANCEL},
      {"Enter: the default button", AtInit::kNothing, {Key(VK_RETURN)}, IDOK},
      {"its window destroyed", AtInit::kNothing, {Destroy()}, -1},
      {"a handler's exception", AtInit::kNothing, {Command(kThrowCommand)}, IDABORT},
      {"ended while initialising", AtInit::kEnd, {}, kOwnResult},
      {"an exception while initialising", AtInit::kThrow, {}, IDABORT},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LoopDialog owner(IDD_CATALOG);
    INT_PTR result = 0;
    Steps steps = {[&](HWND main) {
      SetFocus(GetDlgItem(main, IDC_LIST));
      LoopDialog dialog(IDD_COPY_TARGET, main, c.atInit);
      result = dialog.DoModal();
    }};
    if (c.atInit == AtInit::kNothing) {
      steps.push_back(Look([&](HWND dialog) {
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner.hwnd());
        EXPECT_FALSE(IsWindowEnabled(owner.hwnd()));
      }));
    }
    steps.insert(steps.end(), c.ending.begin(), c.ending.end());
    steps.push_back(Look([&](HWND main) {
      EXPECT_EQ(main, owner.hwnd()) << "the dialog is still open";
      EXPECT_TRUE(IsWindowEnabled(main));
      EXPECT_EQ(GetActiveWindow(), main);
      EXPECT_EQ(GetFocus(), GetDlgItem(main, IDC_LIST));
    }));
    steps.push_back(Key(VK_ESCAPE));
    DialogScript script(steps);
    EXPECT_EQ(owner.DoModal(), IDCANCEL);
    EXPECT_EQ(result, c.result);
  }
}

INT_PTR CALLBACK PlatformDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// The platform's own modal dialog, given a quit request, ends and leaves the request for the loop beneath;
// ours does the same, and also gives its owner back (Wine's leaves it disabled) and returns -1, as for any
// run that ends without EndDialog.
TEST(ModalLoopTest, QuitRequestEndsTheDialogAndReachesTheLoopBeneathAsWithThePlatformsDialogs) {
  for (bool platform : {true, false}) {
    SCOPED_TRACE(platform ? "platform's dialog" : "ours");
    LoopDialog owner(IDD_CATALOG);
    INT_PTR result = 0;
    bool ownerEnabledAfter = false;
    DialogScript script({[&](HWND main) {
                           if (platform) {
                             result =
                                 DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_COPY_TARGET),
                                                 main, PlatformDialogProc, 0);
                           } else {
                             result = LoopDialog(IDD_COPY_TARGET, main).DoModal();
                           }
                           ownerEnabledAfter = IsWindowEnabled(main) != FALSE;
                         },
                         Look([&](HWND dialog) { EXPECT_NE(dialog, owner.hwnd()); }), Quit()});
    // The quit request ends the owner's run too: it is a dialog of the same loop.
    EXPECT_EQ(owner.DoModal(), -1);
    EXPECT_EQ(TakeQuit(), kQuitCode);
    if (!platform) {
      EXPECT_TRUE(ownerEnabledAfter);
      EXPECT_EQ(result, -1);
    }
  }
}

// Main window, copy destination, folder browser: each owned by the one before it, ended innermost first
// whatever ends them, each owner given back only when its own dialog ends.
TEST(ModalLoopTest, NestedDialogsEndInOrder) {
  const struct {
    const char* name;
    Steps ending;
    std::vector<INT_PTR> results;  // folder browser, copy destination, main window
    int quit;
  } cases[] = {
      {"each ended by Escape",
       {Key(VK_ESCAPE), Look([](HWND copy) {
          const HWND main = GetWindow(copy, GW_OWNER);
          EXPECT_TRUE(IsWindowEnabled(copy));
          EXPECT_EQ(GetActiveWindow(), copy);
          EXPECT_FALSE(IsWindowEnabled(main)) << "the main window is enabled while the copy dialog runs";
        }),
        Key(VK_ESCAPE), Key(VK_ESCAPE)},
       {IDCANCEL, IDCANCEL, IDCANCEL},
       -1},
      {"a quit request in the innermost", {Quit()}, {-1, -1, -1}, kQuitCode},
      {"the main window destroyed from the innermost",
       {[](HWND folder) { DestroyWindow(GetWindow(GetWindow(folder, GW_OWNER), GW_OWNER)); }},
       {-1, -1, -1},
       -1},
      {"an exception in the innermost, then Escape",
       {Command(kThrowCommand), Key(VK_ESCAPE), Key(VK_ESCAPE)},
       {IDABORT, IDCANCEL, IDCANCEL},
       -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> ended;
    std::vector<INT_PTR> results;
    auto run = [&](const char* name, int templateId, HWND owner) {
      results.push_back(LoopDialog(templateId, owner).DoModal());
      ended.push_back(name);
    };
    Steps steps = {[&](HWND main) { run("copy", IDD_COPY_TARGET, main); },
                   [&](HWND copy) { run("folder", IDD_FOLDER_BROWSE, copy); }, Look([](HWND folder) {
                     const HWND copy = GetWindow(folder, GW_OWNER);
                     ASSERT_NE(copy, nullptr);
                     EXPECT_TRUE(IsWindowEnabled(folder));
                     EXPECT_FALSE(IsWindowEnabled(copy));
                     EXPECT_FALSE(IsWindowEnabled(GetWindow(copy, GW_OWNER)));
                   })};
    steps.insert(steps.end(), c.ending.begin(), c.ending.end());
    {
      DialogScript script(steps);
      run("main", IDD_CATALOG, nullptr);
    }
    EXPECT_EQ(ended, (std::vector<std::string>{"folder", "copy", "main"}));
    EXPECT_EQ(results, c.results);
    EXPECT_EQ(TakeQuit(), c.quit);
  }
}

}  // namespace
