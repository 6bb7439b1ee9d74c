#include "ui/main/catalog_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/wine/dialog_driver.h"
#include "tests/wine/test_support.h"

using namespace testing_support;

namespace {

constexpr INT_PTR kEndedByTest = 77;
const std::string kDisc = "D:\\MAINWIN";

// Category 1 holds subcategories 9 and 4, defined in that order, and three programs; the root holds one
// program. Szachy's description has CR LF line ends and an indented title, Notes' plain LF ends.
const char kCategoriesPolish[] =
    "# Katalog testowy\n"
    "1;0;Gry\n"
    "Gry, pierwsza linia\n"
    "Gry, druga linia\n"
    "$\n"
    "9;1;Dziewiec\n"
    "$\n"
    "4;1;Cztery\n"
    "Opis czworki\n"
    "$\n"
    "2;0;Narzedzia\n"
    "$\n";
const char kCategoriesCzech[] = "3;0;Hry\nPopis her\n$\n";
const char kProgramList[] =
    "GRY\\SZACHY\n1\nrun=szachy.exe\ncop=c:\\gry\n\n"
    "GRY\\NOTES\n1\n\n"
    "INSTAL\n0\nins=setup.exe\n\n"
    "GRY\\PASJANS\n1\nrun=pasjans.exe\nins=setup.exe\n";
const std::string kChessDescription = kDisc + "\\GRY\\SZACHY\\opis\\opis1.txt";

class CatalogDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = CurrentDirectory();
    WriteDisc();
  }
  void TearDown() override {
    dialog_.reset();
    SetCurrentDirectoryOrDie(saved_);
    RemoveTree(kDisc);
  }

  // A fresh disc and a fresh window object that reads it.
  void WriteDisc() {
    SetCurrentDirectoryOrDie("D:\\");
    RemoveTree(kDisc);
    for (const char* program : {"GRY\\SZACHY", "GRY\\NOTES", "INSTAL", "GRY\\PASJANS"}) {
      MakeDirectories(kDisc + "\\" + program + "\\opis");
    }
    // Some files end with a DOS end-of-file mark, followed by text that would be an error or would show if it
    // were read.
    const std::string end = "\x1a;;x\n9999\n";
    WriteTextFile(kDisc + "\\kat1.txt", kCategoriesPolish + end);
    WriteTextFile(kDisc + "\\kat2.txt", kCategoriesCzech);
    WriteTextFile(kDisc + "\\prog.txt", kProgramList + end);
    WriteTextFile(kChessDescription, "  Szachy\r\nGra dla dwojga.\r\n\r\nKoniec" + end);
    WriteTextFile(kDisc + "\\GRY\\NOTES\\opis\\opis1.txt", "Notes\nLinia\n");
    WriteTextFile(kDisc + "\\INSTAL\\opis\\opis1.txt", "Instalator\n");
    WriteTextFile(kDisc + "\\INSTAL\\opis\\opis2.txt", "Instalace\n");
    WriteTextFile(kDisc + "\\GRY\\PASJANS\\opis\\opis1.txt", "Pasjans" + end);
    // Program directories in the list are relative to the directory the program starts in.
    SetCurrentDirectoryOrDie(kDisc);

    dialog_ = std::make_unique<CatalogDialog>();
    dialog_->settings.catalog.categoryFile.polish = kDisc + "\\kat1.txt";
    dialog_->settings.catalog.categoryFile.czech = kDisc + "\\kat2.txt";
    dialog_->settings.catalog.programList = kDisc + "\\prog.txt";
    dialog_->settings.catalog.defaultDescription.polish = "opis\\opis1.txt";
    dialog_->settings.catalog.defaultDescription.czech = "opis\\opis2.txt";
  }

  // Runs the main window modally and, once it is up, runs `body` from its modal loop (not from inside the
  // activation hook), then ends it with kEndedByTest. Message boxes are recorded with their owner and
  // answered with OK.
  INT_PTR Run(std::function<void(HWND)> body) {
    body_ = std::move(body);
    bodyRan_ = false;
    messagesOwnedByWindow_.clear();
    DialogDriver driver([this](HWND window) {
      if (DialogDriver::IsMessageBox(window)) {
        const HWND owner = GetWindow(window, GW_OWNER);
        messagesOwnedByWindow_.push_back(owner != nullptr && owner == dialog_->hwnd());
        DialogDriver::PostClick(window, IDOK);
      } else if (window == dialog_->hwnd()) {
        SetTimer(nullptr, 0, 0, RunBody);
      }
    });
    running_ = this;
    const INT_PTR result = dialog_->DoModal();
    running_ = nullptr;
    messages_ = driver.messages();
    return result;
  }

  static void CALLBACK RunBody(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    CatalogDialogTest* self = running_;
    if (self == nullptr || !self->dialog_->IsRunning()) return;
    self->bodyRan_ = true;
    self->body_(self->dialog_->hwnd());
    self->dialog_->EndDialog(kEndedByTest);
  }

  std::string saved_;
  std::unique_ptr<CatalogDialog> dialog_;
  std::function<void(HWND)> body_;
  bool bodyRan_ = false;
  std::vector<DialogDriver::Message> messages_;
  std::vector<bool> messagesOwnedByWindow_;
  static CatalogDialogTest* running_;
};

CatalogDialogTest* CatalogDialogTest::running_ = nullptr;

HWND List(HWND dialog) { return GetDlgItem(dialog, IDC_LIST); }

std::string Text(HWND dialog, int id) { return DialogDriver::WindowText(GetDlgItem(dialog, id)); }

void Notify(HWND dialog, int row, int code) {
  SendMessageA(List(dialog), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_LIST, code), reinterpret_cast<LPARAM>(List(dialog)));
}
void Select(HWND dialog, int row) { Notify(dialog, row, LBN_SELCHANGE); }
void DoubleClick(HWND dialog, int row) { Notify(dialog, row, LBN_DBLCLK); }

// Row texts; a program row is written "title*" after checking that its item value is the entry of that
// title, while the up row and category rows must carry 0.
std::vector<std::string> Rows(HWND dialog) {
  std::vector<std::string> rows;
  const int count = static_cast<int>(SendMessageA(List(dialog), LB_GETCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    char text[256] = {};
    SendMessageA(List(dialog), LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
    const LRESULT value = SendMessageA(List(dialog), LB_GETITEMDATA, static_cast<WPARAM>(row), 0);
    if (value == 0) {
      rows.push_back(text);
    } else {
      const auto* entry = reinterpret_cast<const ProgramEntry*>(value);
      rows.push_back(entry->title == text ? std::string(text) + "*" : "wrong entry for " + std::string(text));
    }
  }
  return rows;
}

// Copy, run and install, in that order.
std::string ProgramButtons(HWND dialog) {
  std::string state;
  for (int id : {IDC_COPY, IDC_RUN, IDC_INSTALL})
    state += IsWindowEnabled(GetDlgItem(dialog, id)) ? '1' : '0';
  return state;
}

TEST_F(CatalogDialogTest, DoubleClicksWalkTheTree) {
  struct Step {
    int doubleClickRow;  // -1: look at the list as it is
    int category;
    std::string title;
    std::vector<std::string> rows;
  };
  const std::vector<std::string> gry = {"..", "Cztery", "Dziewiec", "Szachy*", "Notes*", "Pasjans*"};
  const Step steps[] = {
      {-1, 0, "", {"Gry", "Narzedzia", "Instalator*"}},
      {0, 1, "Gry", gry},
      {1, 4, "Cztery", {".."}},
      {0, 1, "Gry", gry},
      {3, 1, "Gry", gry},  // a program row stays where it is
      {2, 9, "Dziewiec", {".."}},
      {0, 1, "Gry", gry},
      {0, 0, "", {"Gry", "Narzedzia", "Instalator*"}},
      {2, 0, "", {"Gry", "Narzedzia", "Instalator*"}},
      {1, 2, "Narzedzia", {".."}},
  };
  const INT_PTR result = Run([&](HWND dialog) {
    for (const Step& step : steps) {
      SCOPED_TRACE(testing::Message() << "double-click " << step.doubleClickRow << " into " << step.category);
      if (step.doubleClickRow >= 0) {
        Select(dialog, step.doubleClickRow);
        DoubleClick(dialog, step.doubleClickRow);
      }
      EXPECT_EQ(dialog_->currentCategory(), step.category);
      EXPECT_EQ(Text(dialog, IDC_CATEGORY_TITLE), step.title);
      EXPECT_EQ(Rows(dialog), step.rows);
      // Every refill starts without a selection, an empty pane and the program buttons disabled.
      EXPECT_EQ(SendMessageA(List(dialog), LB_GETCURSEL, 0, 0), LB_ERR);
      EXPECT_EQ(Text(dialog, IDC_DESCRIPTION), "");
      EXPECT_EQ(ProgramButtons(dialog), "000");
    }
  });
  EXPECT_EQ(result, kEndedByTest);
  EXPECT_TRUE(messages_.empty());
  // The window released its catalogue when it was destroyed.
  EXPECT_TRUE(dialog_->categories().IsEmpty());
}

struct SelectionCase {
  int row;
  std::string description;
  std::string buttons;  // copy, run, install
};

TEST_F(CatalogDialogTest, SelectionShowsTheDescriptionAndEnablesTheButtons) {
  const SelectionCase atRoot[] = {
      {0, "Gry, pierwsza linia\r\nGry, druga linia\r\n", "000"},
      {2, "Instalator\r\n", "101"},
      {1, "", "000"},
  };
  // Each row differs from the one before, so that a pane or button left over from it shows.
  const SelectionCase inGry[] = {
      {3, "  Szachy\r\nGra dla dwojga.\r\n\r\nKoniec\r\n", "110"},
      {1, "Opis czworki\r\n", "000"},
      {5, "Pasjans\r\n", "111"},
      {0, "", "000"},
      {4, "Notes\r\nLinia\r\n", "100"},
      {2, "", "000"},
      {5, "Pasjans\r\n", "111"},
      {-1, "", "000"},
  };
  Run([&](HWND dialog) {
    for (const SelectionCase& c : atRoot) {
      SCOPED_TRACE(testing::Message() << "root row " << c.row);
      Select(dialog, c.row);
      EXPECT_EQ(Text(dialog, IDC_DESCRIPTION), c.description);
      EXPECT_EQ(ProgramButtons(dialog), c.buttons);
    }
    DoubleClick(dialog, 0);
    ASSERT_EQ(dialog_->currentCategory(), 1);
    for (const SelectionCase& c : inGry) {
      SCOPED_TRACE(testing::Message() << "row " << c.row << " of Gry");
      Select(dialog, c.row);
      EXPECT_EQ(Text(dialog, IDC_DESCRIPTION), c.description);
      EXPECT_EQ(ProgramButtons(dialog), c.buttons);
    }
  });
  EXPECT_TRUE(bodyRan_);
}

TEST_F(CatalogDialogTest, DescriptionRemovedAfterTheLoadIsNamedInThePane) {
  Run([&](HWND dialog) {
    DoubleClick(dialog, 0);
    Select(dialog, 4);
    ASSERT_EQ(Text(dialog, IDC_DESCRIPTION), "Notes\r\nLinia\r\n");
    ASSERT_TRUE(DeleteFileA(kChessDescription.c_str()));
    Select(dialog, 3);
    EXPECT_EQ(Text(dialog, IDC_DESCRIPTION), "Could not open file with description " + kChessDescription);
    // The program itself is still there to run or copy.
    EXPECT_EQ(ProgramButtons(dialog), "110");
  });
  EXPECT_TRUE(bodyRan_);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(CatalogDialogTest, LanguageFlagChoosesTheCategoryFileAndDescriptions) {
  struct Case {
    Language language;
    std::vector<std::string> rows;
    std::string lastDescription;
  };
  const Case cases[] = {
      {Language::kPolish, {"Gry", "Narzedzia", "Instalator*"}, "Instalator\r\n"},
      {Language::kCzech, {"Hry", "Instalace*"}, "Instalace\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(LanguageName(c.language));
    WriteDisc();
    dialog_->settings.language = c.language;
    Run([&](HWND dialog) {
      EXPECT_EQ(Rows(dialog), c.rows);
      Select(dialog, static_cast<int>(c.rows.size()) - 1);
      EXPECT_EQ(Text(dialog, IDC_DESCRIPTION), c.lastDescription);
    });
    EXPECT_TRUE(bodyRan_);
  }
}

// True when the button shows the named picture from its top-left corner, as far as both reach.
bool ShowsBitmap(HWND button, const char* name) {
  const PictureMatch match = MatchPicture(button, name);
  return match.compared > 0 && match.equal == match.compared;
}

TEST_F(CatalogDialogTest, ButtonsShowThePicturesOfTheLanguageAndState) {
  struct Case {
    int isPolish;
    int isMultiLanguage;
    int selectRow;  // -1: nothing selected
    int id;
    const char* shown;
    const char* notShown;
  };
  const Case cases[] = {
      {1, 0, -1, IDC_LANGUAGE, "BM_GRAYED", "BM_MENU_PU"},
      {1, 1, -1, IDC_LANGUAGE, "BM_MENU_PU", "BM_GRAYED"},
      {1, 1, -1, IDCANCEL, "BM_CANCEL_PU", "BM_CANCEL_CU"},
      {0, 1, -1, IDCANCEL, "BM_CANCEL_CU", "BM_CANCEL_PU"},
      {0, 1, -1, IDC_RUN, "BM_GRAYED", "BM_RUN_CU"},
      {0, 1, -1, IDC_HELP_BUTTON, "BM_HELP_PU", "BM_ZOT_PU"},
      {1, 1, -1, IDC_ZOT, "BM_ZOT_PU", "BM_HELP_PU"},
      {0, 1, 1, IDC_RUN, "BM_RUN_CU", "BM_RUN_PU"},
      {0, 1, 1, IDC_COPY, "BM_COPY_CU", "BM_COPY_PU"},
      {1, 1, 2, IDC_INSTALL, "BM_INST_PU", "BM_GRAYED"},
      {1, 1, 2, IDC_RUN, "BM_RUN_PU", "BM_RUN_CU"},
  };
  // Away from the buttons: a button under the pointer takes the focus and shows its focus picture.
  SetCursorPos(1000, 700);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "button " << c.id << " showing " << c.shown);
    WriteDisc();
    // Row 2 in Polish and row 1 in Czech: a program with a run file and an installer.
    WriteTextFile(kDisc + "\\prog.txt", "INSTAL\n0\nins=setup.exe\nrun=setup.exe\n");
    dialog_->settings.language = LanguageOf(c.isPolish == 1);
    dialog_->settings.multiLanguage = c.isMultiLanguage == 1;
    Run([&](HWND dialog) {
      EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, IDC_LANGUAGE)) != FALSE, c.isMultiLanguage == 1);
      if (c.selectRow >= 0) Select(dialog, c.selectRow);
      UpdateWindow(dialog);
      PumpMessages();
      EXPECT_TRUE(ShowsBitmap(GetDlgItem(dialog, c.id), c.shown));
      EXPECT_FALSE(ShowsBitmap(GetDlgItem(dialog, c.id), c.notShown));
    });
    EXPECT_TRUE(bodyRan_);
  }
}

TEST_F(CatalogDialogTest, TitleIconsAndSystemMenuItem) {
  Run([&](HWND dialog) {
    EXPECT_EQ(DialogDriver::WindowText(dialog), "Tamo CD (ZoT)");
    ASSERT_NE(dialog_->icon(), nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0)), dialog_->icon());
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0)), dialog_->icon());
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(dialog, WM_QUERYDRAGICON, 0, 0)), dialog_->icon());

    HMENU menu = GetSystemMenu(dialog, FALSE);
    ASSERT_NE(menu, nullptr);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUT));
    char text[64] = {};
    GetMenuStringA(menu, IDM_ABOUT, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "&Zot ...");
    EXPECT_TRUE(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
  });
  EXPECT_TRUE(bodyRan_);
}

TEST_F(CatalogDialogTest, EveryControlColourIsWhiteOnOneBlackBrush) {
  HBRUSH brush = nullptr;
  Run([&](HWND dialog) {
    HDC dc = CreateCompatibleDC(nullptr);
    for (UINT message = WM_CTLCOLORMSGBOX; message <= WM_CTLCOLORSTATIC; ++message) {
      SCOPED_TRACE(testing::Message() << "message 0x" << std::hex << message);
      SetTextColor(dc, RGB(255, 0, 0));
      SetBkColor(dc, RGB(0, 255, 0));
      const auto answer =
          reinterpret_cast<HBRUSH>(SendMessageA(dialog, message, reinterpret_cast<WPARAM>(dc),
                                                reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_LIST))));
      EXPECT_EQ(GetTextColor(dc), RGB(255, 255, 255));
      EXPECT_EQ(GetBkColor(dc), RGB(0, 0, 0));
      ASSERT_NE(answer, nullptr);
      if (brush == nullptr) brush = answer;
      EXPECT_EQ(answer, brush);
    }
    DeleteDC(dc);
    LOGBRUSH style = {};
    ASSERT_EQ(GetObjectA(brush, sizeof style, &style), static_cast<int>(sizeof style));
    EXPECT_EQ(style.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(style.lbColor, RGB(0, 0, 0));
  });
  ASSERT_TRUE(bodyRan_);
  // The brush lives as long as the window object, and goes with it.
  EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
  dialog_.reset();
  EXPECT_EQ(GetObjectType(brush), 0u);
}

struct FailedLoadCase {
  const char* name;
  std::function<void()> breakDisc;
  std::string message;
  INT_PTR result;
};

TEST_F(CatalogDialogTest, FailedLoadEndsTheWindowAfterItsMessage) {
  const FailedLoadCase cases[] = {
      {"category file missing", [] { DeleteFileA((kDisc + "\\kat1.txt").c_str()); },
       "Could not open file " + kDisc + "\\kat1.txt", 1},
      {"program list missing", [] { DeleteFileA((kDisc + "\\prog.txt").c_str()); },
       "Could not open file " + kDisc + "\\prog.txt", 1},
      {"category file error", [] { WriteTextFile(kDisc + "\\kat1.txt", "1;0;Gry\n$\n12;0\n"); },
       "Error in line nr 3 in file " + kDisc + "\\kat1.txt\nchar ';' not founf", 1},
      {"description missing", [] { DeleteFileA((kDisc + "\\GRY\\NOTES\\opis\\opis1.txt").c_str()); },
       "Could not open file with description " + kDisc + "\\GRY\\NOTES\\opis\\opis1.txt", 1},
      // Only a warning: the window runs on without the block.
      {"undefined category", [] { WriteTextFile(kDisc + "\\prog.txt", "\nINSTAL\n77\n"); },
       "Warning in line nr 3 in file " + kDisc + "\\prog.txt\nCategory number 77 isn't defined",
       kEndedByTest},
  };
  for (const FailedLoadCase& c : cases) {
    SCOPED_TRACE(c.name);
    WriteDisc();
    c.breakDisc();
    EXPECT_EQ(Run([](HWND) {}), c.result);
    EXPECT_EQ(bodyRan_, c.result == kEndedByTest);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, c.message);
    EXPECT_EQ(messages_[0].caption, "wine_tests");
    EXPECT_EQ(messagesOwnedByWindow_, std::vector<bool>{true});
    EXPECT_TRUE(dialog_->categories().IsEmpty());
  }
}

// A megabyte-long name, title and description line, and a description of 20,000 lines, reach the list and
// the pane whole: nothing on the way holds them in a fixed buffer.
TEST_F(CatalogDialogTest, MegabyteTextsReachTheListAndThePaneWhole) {
  const std::string name(1 << 20, 'K');
  const std::string title(1 << 20, 'T');
  const std::string line(1 << 20, 'o');
  std::string manyLines;
  for (int n = 0; n < 20000; ++n) manyLines += "linia " + std::to_string(n) + "\n";
  WriteTextFile(kDisc + "\\kat1.txt", "1;0;" + name + "\n" + manyLines + "$\n");
  WriteTextFile(kDisc + "\\prog.txt", "GRY\\SZACHY\n0\nrun=szachy.exe\n");
  WriteTextFile(kChessDescription, title + "\r\n" + line + "\r\n");
  std::string expectedCategoryPane;
  for (int n = 0; n < 20000; ++n) expectedCategoryPane += "linia " + std::to_string(n) + "\r\n";

  Run([&](HWND dialog) {
    ASSERT_EQ(SendMessageA(List(dialog), LB_GETCOUNT, 0, 0), 2);
    std::vector<std::string> rows;
    for (int row = 0; row < 2; ++row) {
      const LRESULT length = SendMessageA(List(dialog), LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
      ASSERT_GT(length, 0);
      std::string text(static_cast<std::size_t>(length) + 1, '\0');
      SendMessageA(List(dialog), LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&text[0]));
      text.resize(static_cast<std::size_t>(length));
      rows.push_back(text);
    }
    EXPECT_TRUE(rows[0] == name) << "category row of " << rows[0].size() << " characters";
    EXPECT_TRUE(rows[1] == title) << "program row of " << rows[1].size() << " characters";
    Select(dialog, 0);
    EXPECT_TRUE(Text(dialog, IDC_DESCRIPTION) == expectedCategoryPane);
    Select(dialog, 1);
    EXPECT_TRUE(Text(dialog, IDC_DESCRIPTION) == title + "\r\n" + line + "\r\n");
  });
  EXPECT_TRUE(bodyRan_);
  EXPECT_TRUE(messages_.empty());
}

}  // namespace
