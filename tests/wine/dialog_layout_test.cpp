#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/dialog.h"
#include "res/resource.h"
#include "tests/wine/dialog_script.h"
#include "tests/wine/test_support.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/copy_target_dialog.h"
#include "ui/dialogs/exit_confirm_dialog.h"
#include "ui/dialogs/folder_browse_dialog.h"
#include "ui/dialogs/language_dialog.h"
#include "ui/main/catalog_dialog.h"

// Every window drawn from pictures lies on the pixels its pictures were drawn for, whatever the dialog font
// of the machine: the template's dialog units at 6 by 13 pixel base units. The expected rectangles are those
// pixels; the test prefix maps no font, so its dialog font has other base units.

using namespace testing_support;

namespace {

constexpr int kBackground = -1;
const std::string kDisc = "D:\\LAYOUT";

struct Placed {
  int id;
  RECT rect;  // x, y, width, height in the dialog's client area
};

// Where the window's top-left corner belongs.
enum class Origin { kScreenCorner, kWorkAreaCentre, kOwnerClient };

struct Layout {
  const char* name;
  std::function<std::unique_ptr<Dialog>(HWND owner)> make;
  SIZE client;
  Origin origin;
  std::vector<Placed> controls;  // every child window of the dialog
};

HWND Child(HWND dialog, int id) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (LOWORD(GetDlgCtrlID(child)) == LOWORD(id)) return child;
  }
  return nullptr;
}

int ChildCount(HWND dialog) {
  int count = 0;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    ++count;
  return count;
}

// The platform's placement: a window without an owner at the screen's corner, centred windows centred as a
// whole, an owned one with its client area at the owner's client area. Gives the actual and the expected
// corner.
std::pair<POINT, POINT> Corners(HWND dialog, HWND owner, Origin origin) {
  RECT window;
  GetWindowRect(dialog, &window);
  if (origin == Origin::kOwnerClient) {
    POINT client = {0, 0};
    POINT ownerClient = {0, 0};
    ClientToScreen(dialog, &client);
    ClientToScreen(owner, &ownerClient);
    return {client, ownerClient};
  }
  const POINT corner = {window.left, window.top};
  if (origin == Origin::kScreenCorner) return {corner, POINT{0, 0}};
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return {corner, POINT{(work.left + work.right - (window.right - window.left)) / 2,
                        (work.top + work.bottom - (window.bottom - window.top)) / 2}};
}

void ExpectLaidOut(HWND dialog, HWND owner, const Layout& layout) {
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, layout.client.cx) << "client width";
  EXPECT_EQ(client.bottom, layout.client.cy) << "client height";
  const std::pair<POINT, POINT> corners = Corners(dialog, owner, layout.origin);
  EXPECT_EQ(corners.first.x, corners.second.x) << "left";
  EXPECT_EQ(corners.first.y, corners.second.y) << "top";
  EXPECT_EQ(ChildCount(dialog), static_cast<int>(layout.controls.size()));
  for (const Placed& placed : layout.controls) {
    const HWND control = Child(dialog, placed.id);
    ASSERT_NE(control, nullptr) << "control " << placed.id;
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    const RECT shown = {r.left, r.top, r.right - r.left, r.bottom - r.top};
    const RECT& want = placed.rect;
    EXPECT_TRUE(shown.left == want.left && shown.top == want.top && shown.right == want.right &&
                shown.bottom == want.bottom)
        << "control " << placed.id << " is at " << shown.left << "," << shown.top << " " << shown.right << "x"
        << shown.bottom << ", expected " << want.left << "," << want.top << " " << want.right << "x"
        << want.bottom;
  }
}

template <class D>
std::function<std::unique_ptr<Dialog>(HWND)> Make() {
  return [](HWND) { return std::make_unique<D>(); };
}

// The main window reads a catalogue while it initialises: a one-category disc.
std::unique_ptr<Dialog> MakeMainWindow(HWND) {
  MakeDirectories(kDisc);
  WriteTextFile(kDisc + "\\kat1.txt", "1;0;Gry\n$\n");
  WriteTextFile(kDisc + "\\kat2.txt", "1;0;Hry\n$\n");
  WriteTextFile(kDisc + "\\prog.txt", "");
  auto dialog = std::make_unique<CatalogDialog>();
  dialog->settings.catalog.categoryFile.polish = kDisc + "\\kat1.txt";
  dialog->settings.catalog.categoryFile.czech = kDisc + "\\kat2.txt";
  dialog->settings.catalog.programList = kDisc + "\\prog.txt";
  return dialog;
}

TEST(DialogLayoutTest, EveryWindowLiesOnThePixelsOfItsPictures) {
  // Background pictures are 640 by 480 and keep their own size.
  const RECT background = {0, 0, 640, 480};
  const auto mainButtonAt = [](int id, int y) { return Placed{id, {501, y, 129, 28}}; };
  const Layout layouts[] = {
      {"main window",
       MakeMainWindow,
       {639, 478},
       Origin::kScreenCorner,
       {{kBackground, background},
        mainButtonAt(IDC_LANGUAGE, 78),
        mainButtonAt(IDC_RUN, 140),
        mainButtonAt(IDC_COPY, 200),
        mainButtonAt(IDC_INSTALL, 262),
        mainButtonAt(IDC_HELP_BUTTON, 323),
        mainButtonAt(IDC_ZOT, 384),
        mainButtonAt(IDCANCEL, 445),
        {IDC_LIST, {53, 76, 437, 284}},
        {IDC_DESCRIPTION, {54, 385, 435, 85}},
        {IDC_CATEGORY_TITLE, {53, 41, 428, 20}}}},
      {"language chooser",
       Make<LanguageDialog>(),
       {639, 478},
       Origin::kWorkAreaCentre,
       {{IDC_POLISH, {170, 203, 129, 63}}, {IDC_CZECH, {333, 203, 129, 63}}, {kBackground, background}}},
      {"about picture", Make<AboutDialog>(), {431, 478}, Origin::kWorkAreaCentre, {}},
      {"copy destination",
       Make<CopyTargetDialog>(),
       {446, 109},
       Origin::kWorkAreaCentre,
       {{IDC_DESTINATION, {15, 16, 413, 24}},
        {IDOK, {15, 65, 129, 28}},
        {IDCANCEL, {158, 65, 129, 28}},
        {IDC_BROWSE, {300, 65, 129, 28}},
        {kBackground, background}}},
      {"exit confirmation",
       Make<ExitConfirmDialog>(),
       {639, 478},
       Origin::kScreenCorner,
       {{kBackground, background},
        {IDOK, {333, 205, 131, 62}},
        {IDCANCEL, {170, 205, 131, 62}},
        {IDC_QUESTION, {158, 171, 344, 32}}}},
      {"folder browser",
       [](HWND owner) { return std::make_unique<FolderBrowseDialog>(owner); },
       {326, 314},
       Origin::kOwnerClient,
       {{IDOK, {15, 276, 129, 28}},
        {IDCANCEL, {180, 276, 129, 28}},
        {IDC_FOLDER_LIST, {23, 57, 278, 203}},
        {kBackground, background},
        {IDC_FOLDER_PATH, {23, 16, 278, 24}}}},
  };
  const std::string saved = CurrentDirectory();
  // An owner away from the screen's corner, with a frame, so that its client area starts elsewhere again.
  const HWND owner = CreateWindowExA(0, "Static", "", WS_POPUP | WS_BORDER | WS_VISIBLE, 37, 23, 700, 520,
                                     nullptr, nullptr, nullptr, nullptr);
  for (const Layout& layout : layouts) {
    SCOPED_TRACE(layout.name);
    const std::unique_ptr<Dialog> dialog = layout.make(owner);
    bool checked = false;
    DialogScript script({[&](HWND d) {
      ExpectLaidOut(d, owner, layout);
      checked = true;
      DestroyWindow(d);
    }});
    dialog->DoModal();
    EXPECT_TRUE(checked);
  }
  DestroyWindow(owner);
  SetCurrentDirectoryOrDie(saved);
  RemoveTree(kDisc);
}

}  // namespace
