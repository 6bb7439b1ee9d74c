#include "ui/controls/bitmap_push_button.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "res/resource.h"
#include "tests/wine/test_support.h"

// The buttons of the copy destination template (133), run as a modeless dialog whose procedure records what
// reaches the dialog. The pictures are compared pixel by pixel with what the buttons put on the screen.

using namespace testing_support;

namespace {

constexpr COLORREF kMarker = RGB(255, 0, 255);

Pixels ReadBitmap(const char* name) {
  const Bitmap bitmap = LoadBitmapResource(name);
  return BitmapPixels(bitmap.get(), BitmapSize(bitmap.get()));
}

// The button shows the named picture one to one from its top-left corner.
testing::AssertionResult Shows(HWND button, const char* name) {
  const PictureMatch match = MatchPicture(button, name);
  if (match.compared > 0 && match.equal == match.compared) return testing::AssertionSuccess();
  return testing::AssertionFailure() << match.compared - match.equal << " of " << match.compared
                                     << " pixels differ from " << name;
}

void FillWithMarker(HWND button) {
  const HDC dc = GetDC(button);
  RECT client;
  GetClientRect(button, &client);
  Brush marker(CreateSolidBrush(kMarker));
  FillRect(dc, &client, marker.get());
  ReleaseDC(button, dc);
}

// Paints the marker over the button's place from its dialog, as a window covering it would leave it.
void CoverWithMarker(HWND button) {
  const HWND dialog = GetParent(button);
  RECT place;
  GetWindowRect(button, &place);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
  const HDC dc = GetDC(dialog);
  Brush marker(CreateSolidBrush(kMarker));
  FillRect(dc, &place, marker.get());
  ReleaseDC(dialog, dc);
}

// Nothing was painted over the marker.
testing::AssertionResult ShowsMarker(HWND button) {
  const Pixels shown = WindowPixels(button, ClientSize(button));
  const DWORD marker = (GetRValue(kMarker) << 16) | (GetGValue(kMarker) << 8) | GetBValue(kMarker);
  for (DWORD pixel : shown) {
    if (pixel != marker) return testing::AssertionFailure() << "something was painted over the button";
  }
  return testing::AssertionSuccess();
}

LPARAM Point(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

int Type(HWND button) { return static_cast<int>(GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK); }

bool IsPushed(HWND button) { return (SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }

// What reached the dialog procedure.
struct DialogRecord {
  std::vector<std::pair<int, int>> buttonCommands;  // control id, notification code
  std::vector<std::pair<WPARAM, LPARAM>> nextControlRequests;
  std::function<void(HWND dialog, int id)> onCommand;
};

INT_PTR CALLBACK RecordingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    return TRUE;
  }
  auto* record = reinterpret_cast<DialogRecord*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (record == nullptr) return FALSE;
  if (message == WM_NEXTDLGCTL) record->nextControlRequests.emplace_back(wParam, lParam);
  if (message == WM_COMMAND && LOWORD(wParam) != IDC_DESTINATION) {
    record->buttonCommands.emplace_back(LOWORD(wParam), HIWORD(wParam));
    if (record->onCommand) record->onCommand(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

class BitmapPushButtonTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LoadBitmapResource("BM_OK_U")) << "the button pictures are not built into the program";
    dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_COPY_TARGET), nullptr,
                                 RecordingDialogProc, reinterpret_cast<LPARAM>(&record_));
    ASSERT_NE(dialog_, nullptr);
    platformProc_ = GetWindowLongPtrA(Item(IDC_BROWSE), GWLP_WNDPROC);
    ok_.Bind(dialog_, IDOK);
    cancel_.Bind(dialog_, IDCANCEL);
    browse_.Bind(dialog_, IDC_BROWSE);
    ok_.LoadStateBitmaps("BM_OK_U", "BM_OK_D", "BM_OK_F", "BM_GRAYED");
    cancel_.LoadStateBitmaps("BM_ANUL_PU", "BM_ANUL_PD", "BM_ANUL_PF", "");
    browse_.LoadStateBitmaps("BM_EXPL_PU", "BM_EXPL_PD", "BM_EXPL_PF", "");
    ShowWindow(dialog_, SW_SHOW);
    SetForegroundWindow(dialog_);
    FocusField();
    // Painted through the message queue, as in the program: only there do the transparent controls wait for
    // the background picture beneath them (UpdateWindow paints in plain sibling order).
    PumpMessages();
    record_ = DialogRecord{};
  }
  void TearDown() override {
    if (dialog_ != nullptr && IsWindow(dialog_)) DestroyWindow(dialog_);
  }

  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  void FocusField() const { SetFocus(Item(IDC_DESTINATION)); }
  // Runs posted input through the dialog's keyboard handling, as the modal loop does.
  void PumpAsDialog() const {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsDialogMessageA(dialog_, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
  }
  void PressEnter() const {
    MSG enter = {GetFocus(), WM_KEYDOWN, VK_RETURN, 0x001C0001, GetTickCount(), {}};
    IsDialogMessageA(dialog_, &enter);
  }

  DialogRecord record_;
  HWND dialog_ = nullptr;
  LONG_PTR platformProc_ = 0;  // of the browse button, before it was bound
  BitmapPushButton ok_;
  BitmapPushButton cancel_;
  BitmapPushButton browse_;
};

TEST_F(BitmapPushButtonTest, TestPicturesTellTheStatesApart) {
  const char* names[] = {"BM_OK_U", "BM_OK_D", "BM_OK_F", "BM_GRAYED", "BM_ANUL_PU"};
  for (const char* a : names) {
    for (const char* b : names) {
      if (a != b) {
        EXPECT_NE(ReadBitmap(a), ReadBitmap(b)) << a << " and " << b;
      }
    }
  }
  // The template's buttons are larger than their pictures: a stretched picture would not match pixel for
  // pixel.
  const SIZE button = ClientSize(Item(IDOK));
  const SIZE picture = BitmapSize(LoadBitmapResource("BM_OK_U").get());
  EXPECT_GT(button.cx * button.cy, picture.cx * picture.cy);
}

TEST_F(BitmapPushButtonTest, EachStateShowsItsPictureAtOnce) {
  const HWND ok = Item(IDOK);
  struct Case {
    const char* state;
    std::function<void()> enter;
    const char* picture;
  };
  const Case cases[] = {
      {"up", [] {}, "BM_OK_U"},
      {"focused", [&] { SetFocus(ok); }, "BM_OK_F"},
      {"pushed", [&] { SendMessageA(ok, BM_SETSTATE, TRUE, 0); }, "BM_OK_D"},
      {"pushed and focused",
       [&] {
         SetFocus(ok);
         SendMessageA(ok, BM_SETSTATE, TRUE, 0);
       },
       "BM_OK_D"},
      {"disabled", [&] { EnableWindow(ok, FALSE); }, "BM_GRAYED"},
      {"disabled while pushed",
       [&] {
         SendMessageA(ok, BM_SETSTATE, TRUE, 0);
         EnableWindow(ok, FALSE);
       },
       "BM_GRAYED"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.state);
    c.enter();
    EXPECT_TRUE(Shows(ok, c.picture)) << "right after the change";
    InvalidateRect(ok, nullptr, TRUE);
    UpdateWindow(ok);
    EXPECT_TRUE(Shows(ok, c.picture)) << "after an ordinary repaint";
    EnableWindow(ok, TRUE);
    SendMessageA(ok, BM_SETSTATE, FALSE, 0);
    FocusField();
  }
}

TEST_F(BitmapPushButtonTest, HoverFocusesTheButtonMakesItDefaultAndEnterActivatesIt) {
  const struct {
    int id;
    const char* focusPicture;
  } cases[] = {{IDCANCEL, "BM_ANUL_PF"}, {IDC_BROWSE, "BM_EXPL_PF"}, {IDOK, "BM_OK_F"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    const HWND button = Item(c.id);
    FocusField();
    record_ = DialogRecord{};
    SendMessageA(button, WM_MOUSEMOVE, 0, Point(5, 5));
    ASSERT_EQ(record_.nextControlRequests.size(), 1u);
    EXPECT_EQ(record_.nextControlRequests[0], std::make_pair(reinterpret_cast<WPARAM>(button), LPARAM{TRUE}));
    EXPECT_EQ(GetFocus(), button);
    for (int other : {IDOK, IDCANCEL, IDC_BROWSE}) {
      EXPECT_EQ(Type(Item(other)), other == c.id ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) << other;
    }
    EXPECT_TRUE(Shows(button, c.focusPicture));
    PressEnter();
    EXPECT_EQ(record_.buttonCommands, (std::vector<std::pair<int, int>>{{c.id, BN_CLICKED}}));
  }
}

TEST_F(BitmapPushButtonTest, MousePressAndRelease) {
  const HWND ok = Item(IDOK);
  const LPARAM inside = Point(10, 10);
  const LPARAM outside = Point(-40, -40);
  const struct {
    const char* gesture;
    bool pressOnButton;
    LPARAM releaseAt;
    size_t clicks;
    const char* pictureAfter;
  } cases[] = {
      {"pressed and released over the button", true, inside, 1, "BM_OK_F"},
      {"pressed, dragged off and released outside", true, outside, 0, "BM_OK_F"},
      {"released over the button after a press elsewhere", false, inside, 0, "BM_OK_U"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.gesture);
    FocusField();
    record_ = DialogRecord{};
    if (c.pressOnButton) {
      SendMessageA(ok, WM_LBUTTONDOWN, MK_LBUTTON, inside);
      EXPECT_TRUE(Shows(ok, "BM_OK_D"));
      SendMessageA(ok, WM_MOUSEMOVE, MK_LBUTTON, c.releaseAt);
      EXPECT_TRUE(Shows(ok, "BM_OK_D")) << "while the pointer is at the release point";
    }
    SendMessageA(ok, WM_LBUTTONUP, 0, c.releaseAt);
    EXPECT_EQ(record_.buttonCommands.size(), c.clicks);
    EXPECT_FALSE(IsPushed(ok));
    EXPECT_NE(GetCapture(), ok);
    EXPECT_TRUE(Shows(ok, c.pictureAfter));
  }
}

TEST_F(BitmapPushButtonTest, DoubleClickIsTwoClicksAndNeverADoubleClickNotification) {
  const HWND ok = Item(IDOK);
  SendMessageA(ok, WM_LBUTTONDOWN, MK_LBUTTON, Point(10, 10));
  SendMessageA(ok, WM_LBUTTONUP, 0, Point(10, 10));
  SendMessageA(ok, WM_LBUTTONDBLCLK, MK_LBUTTON, Point(10, 10));
  EXPECT_TRUE(Shows(ok, "BM_OK_D"));
  SendMessageA(ok, WM_LBUTTONUP, 0, Point(10, 10));
  EXPECT_EQ(record_.buttonCommands,
            (std::vector<std::pair<int, int>>{{IDOK, BN_CLICKED}, {IDOK, BN_CLICKED}}));
}

TEST_F(BitmapPushButtonTest, SpaceBarNeitherPushesNorClicks) {
  const HWND ok = Item(IDOK);
  const struct {
    const char* keys;
    bool mouseHoldsButton;
  } cases[] = {{"space pressed and released", false},
               {"space released while the mouse holds the button", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    SetFocus(ok);
    record_ = DialogRecord{};
    if (c.mouseHoldsButton) {
      SendMessageA(ok, WM_LBUTTONDOWN, MK_LBUTTON, Point(10, 10));
    } else {
      PostMessageA(ok, WM_KEYDOWN, VK_SPACE, 0x00390001);
      PostMessageA(ok, WM_CHAR, ' ', 0x00390001);
    }
    PumpAsDialog();
    if (!c.mouseHoldsButton) {
      EXPECT_FALSE(IsPushed(ok));
    }
    PostMessageA(ok, WM_KEYUP, VK_SPACE, 0xC0390001);
    PumpAsDialog();
    if (c.mouseHoldsButton) SendMessageA(ok, WM_LBUTTONUP, 0, Point(-40, -40));
    EXPECT_TRUE(record_.buttonCommands.empty());
    EXPECT_FALSE(IsPushed(ok));
    EXPECT_TRUE(Shows(ok, "BM_OK_F"));
  }
}

TEST_F(BitmapPushButtonTest, DisablingAndEnablingRepaintAtOnce) {
  const HWND ok = Item(IDOK);
  const struct {
    const char* disabledName;
    const char* disabledPicture;  // nullptr: nothing is painted
  } cases[] = {{"BM_GRAYED", "BM_GRAYED"}, {"", nullptr}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.disabledName);
    ok_.LoadStateBitmaps("BM_OK_U", "BM_OK_D", "BM_OK_F", c.disabledName);
    FillWithMarker(ok);
    EnableWindow(ok, FALSE);
    EXPECT_TRUE(c.disabledPicture != nullptr ? Shows(ok, c.disabledPicture) : ShowsMarker(ok));
    EnableWindow(ok, TRUE);
    EXPECT_TRUE(Shows(ok, "BM_OK_U"));
  }
}

TEST_F(BitmapPushButtonTest, EmptyPicturesPaintNothing) {
  const HWND browse = Item(IDC_BROWSE);
  BitmapPushButton fresh;
  const struct {
    const char* how;
    std::function<void()> load;
  } cases[] = {
      {"never loaded", [&] { fresh.Bind(dialog_, IDC_BROWSE); }},
      {"empty names", [&] { fresh.LoadStateBitmaps("", "", "", ""); }},
      {"names of no bitmap",
       [&] { fresh.LoadStateBitmaps("BM_NONE_U", "BM_NONE_D", "BM_NONE_F", "BM_NONE"); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.how);
    c.load();
    EXPECT_EQ(fresh.CurrentImage(), nullptr);
    FillWithMarker(browse);
    for (auto change : std::vector<std::function<void()>>{
             [&] { RedrawWindow(browse, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); },
             [&] { SetFocus(browse); }, [&] { SendMessageA(browse, BM_SETSTATE, TRUE, 0); },
             [&] { EnableWindow(browse, FALSE); },
             // The text is for screen readers: neither setting it nor changing the keyboard cues paints it
             // (Wine's button keeps its cues; the platform's repaints its face when they change).
             [&] { SetWindowTextA(browse, "&Przegladaj..."); },
             [&] {
               for (WORD action : {UIS_SET, UIS_CLEAR})
                 SendMessageA(browse, WM_UPDATEUISTATE, MAKEWPARAM(action, UISF_HIDEACCEL | UISF_HIDEFOCUS),
                              0);
             }}) {
      change();
      EXPECT_TRUE(ShowsMarker(browse));
    }
    EnableWindow(browse, TRUE);
    SendMessageA(browse, BM_SETSTATE, FALSE, 0);
    FocusField();
  }
}

TEST_F(BitmapPushButtonTest, ReloadReplacesAndReleasesAllFourPicturesAndRepaintsAtOnce) {
  const HWND ok = Item(IDOK);
  std::vector<HBITMAP> old;
  old.push_back(ok_.CurrentImage());
  SetFocus(ok);
  old.push_back(ok_.CurrentImage());
  SendMessageA(ok, BM_SETSTATE, TRUE, 0);
  old.push_back(ok_.CurrentImage());
  EnableWindow(ok, FALSE);
  old.push_back(ok_.CurrentImage());
  EnableWindow(ok, TRUE);
  SendMessageA(ok, BM_SETSTATE, FALSE, 0);
  FocusField();
  for (HBITMAP image : old) ASSERT_NE(image, nullptr);

  ok_.LoadStateBitmaps("BM_ANUL_PU", "BM_ANUL_PD", "BM_ANUL_PF", "");
  EXPECT_TRUE(Shows(ok, "BM_ANUL_PU"));
  for (HBITMAP image : old) {
    BITMAP info;
    EXPECT_EQ(GetObjectA(image, sizeof info, &info), 0) << "the old picture is still alive";
  }
  EnableWindow(ok, FALSE);
  EXPECT_EQ(ok_.CurrentImage(), nullptr) << "the disabled picture was replaced by none";
}

TEST_F(BitmapPushButtonTest, ClickHandlerMayDestroyTheWholeDialog) {
  const struct {
    const char* how;
    std::function<void(HWND)> click;
  } cases[] = {
      {"BM_CLICK", [](HWND ok) { SendMessageA(ok, BM_CLICK, 0, 0); }},
      {"mouse",
       [](HWND ok) {
         SendMessageA(ok, WM_LBUTTONDOWN, MK_LBUTTON, Point(10, 10));
         SendMessageA(ok, WM_LBUTTONUP, 0, Point(10, 10));
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.how);
    if (!IsWindow(dialog_)) SetUp();
    record_.onCommand = [](HWND dialog, int) { DestroyWindow(dialog); };
    c.click(Item(IDOK));
    EXPECT_FALSE(IsWindow(dialog_));
    EXPECT_EQ(ok_.hwnd(), nullptr);
    ok_.LoadStateBitmaps("BM_OK_U", "BM_OK_D", "BM_OK_F", "");  // no window left to repaint
    PumpMessages();
  }
}

TEST_F(BitmapPushButtonTest, ButtonIsRepaintedAfterAClickThatCoveredIt) {
  const HWND ok = Item(IDOK);
  // As a dialog run from the click would: it covers the button and is gone when the click returns.
  bool covered = false;
  record_.onCommand = [ok, &covered](HWND, int) {
    CoverWithMarker(ok);
    covered = ShowsMarker(ok);
  };
  SendMessageA(ok, BM_CLICK, 0, 0);
  ASSERT_EQ(record_.buttonCommands.size(), 1u);
  ASSERT_TRUE(covered);
  EXPECT_TRUE(Shows(ok, "BM_OK_F"));
}

TEST_F(BitmapPushButtonTest, ObjectGoneBeforeItsWindowLeavesAPlainWorkingButton) {
  const HWND browse = Item(IDC_BROWSE);
  {
    BitmapPushButton other;
    other.Bind(dialog_, IDC_BROWSE);  // takes the window over from browse_
    EXPECT_EQ(browse_.hwnd(), nullptr);
    other.LoadStateBitmaps("BM_OK_U", "BM_OK_D", "BM_OK_F", "");
    EXPECT_TRUE(Shows(browse, "BM_OK_U"));
    // The dialog it was bound to owns it: hovering moves that dialog's focus.
    SendMessageA(browse, WM_MOUSEMOVE, 0, Point(5, 5));
    EXPECT_EQ(GetFocus(), browse);
    FocusField();
    record_ = DialogRecord{};
  }
  EXPECT_EQ(GetWindowLongPtrA(browse, GWLP_WNDPROC), platformProc_);
  SendMessageA(browse, WM_MOUSEMOVE, 0, Point(5, 5));
  SendMessageA(browse, BM_CLICK, 0, 0);
  EXPECT_EQ(record_.buttonCommands, (std::vector<std::pair<int, int>>{{IDC_BROWSE, BN_CLICKED}}));
  EXPECT_TRUE(record_.nextControlRequests.empty()) << "hover belongs to the bound object only";
}

}  // namespace

namespace {

// The destination sizes of the bitmap copies in a metafile recording.
int CALLBACK CollectBlits(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM sizes) {
  if (record->iType == EMR_BITBLT) {
    const auto* blit = reinterpret_cast<const EMRBITBLT*>(record);
    reinterpret_cast<std::vector<SIZE>*>(sizes)->push_back(SIZE{blit->cxDest, blit->cyDest});
  }
  return 1;
}

// The picture is drawn with the whole client area as its drawn size, so that nothing of the button is left
// undrawn where a platform copies beyond a picture smaller than its button. Recorded in a metafile: on a
// screen this platform draws only as far as the picture reaches, whatever the size asked.
TEST_F(BitmapPushButtonTest, PaintAsksForTheWholeClientArea) {
  const HWND ok = Item(IDOK);
  const SIZE button = ClientSize(ok);
  const SIZE picture = BitmapSize(LoadBitmapResource("BM_OK_U").get());
  ASSERT_TRUE(button.cx > picture.cx || button.cy > picture.cy);
  const HDC recorder = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  SendMessageA(ok, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(recorder), PRF_CLIENT);
  const HENHMETAFILE recording = CloseEnhMetaFile(recorder);
  std::vector<SIZE> drawn;
  EnumEnhMetaFile(nullptr, recording, CollectBlits, &drawn, nullptr);
  DeleteEnhMetaFile(recording);
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].cx, button.cx);
  EXPECT_EQ(drawn[0].cy, button.cy);
}

}  // namespace
