#include "ui/dialogs/copy_target_dialog.h"

#include <gtest/gtest.h>

#include <cstring>

#include "res/resource.h"
#include "tests/wine/dialog_script.h"
#include "tests/wine/test_support.h"
#include "ui/dialogs/folder_browse_dialog.h"

using namespace script;
using namespace testing_support;

namespace {

using Steps = std::vector<DialogScript::Step>;

const std::string kRoot = "D:\\browse";
const char kProposal[] = "C:\\TAMO";

std::string ItemText(HWND dialog, int id) {
  char text[2048] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

bool SameDirectory(const std::string& a, const std::string& b) { return _stricmp(a.c_str(), b.c_str()) == 0; }

DialogScript::Step Open(const std::string& row, bool mouse = false) {
  return DoubleClickRow(IDC_FOLDER_LIST, row, mouse);
}

// The process starts each test in D:\browse, which holds two directories (alpha with inner below it, beta)
// and a file.
class BrowseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = CurrentDirectory();
    Reset();
  }
  // Also between the cases of a table: each starts from a fresh tree in D:\browse.
  void Reset() {
    SetCurrentDirectoryOrDie("D:\\");
    RemoveTree(kRoot);
    MakeDirectories(kRoot + "\\alpha\\inner");
    MakeDirectories(kRoot + "\\beta");
    WriteTextFile(kRoot + "\\notes.txt", "not a folder");
    SetCurrentDirectoryOrDie(kRoot);
  }
  void TearDown() override {
    SetCurrentDirectoryOrDie(saved_);
    RemoveTree(kRoot);
  }
  std::string saved_;
};

using FolderBrowseDialogTest = BrowseTest;
using CopyTargetDialogTest = BrowseTest;

// The directory rows of the browser's list, without the drives.
std::vector<std::string> DirectoryRows(HWND dialog) {
  std::vector<std::string> rows;
  for (const std::string& row : ListRows(GetDlgItem(dialog, IDC_FOLDER_LIST))) {
    if (row.compare(0, 2, "[-") != 0) rows.push_back(row);
  }
  return rows;
}

TEST_F(FolderBrowseDialogTest, ListsSubdirectoriesAndDrivesButNoFiles) {
  std::vector<std::string> rows;
  std::string shown;
  FolderBrowseDialog dialog(nullptr);
  DialogScript script({[&](HWND d) {
                         rows = ListRows(GetDlgItem(d, IDC_FOLDER_LIST));
                         shown = ItemText(d, IDC_FOLDER_PATH);
                       },
                       Key(VK_ESCAPE)});
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(SameDirectory(shown, kRoot)) << shown;
  EXPECT_EQ(dialog.selectedPath, "");
  EXPECT_EQ(CurrentDirectory(), kRoot);
  std::vector<std::string> directories;
  std::vector<std::string> drives;
  for (const std::string& row : rows) {
    (row.size() == 5 && row.compare(0, 2, "[-") == 0 ? drives : directories).push_back(row);
  }
  EXPECT_EQ(directories, (std::vector<std::string>{"[..]", "[alpha]", "[beta]"}));
  EXPECT_NE(std::find(drives.begin(), drives.end(), "[-c-]"), drives.end());
  EXPECT_NE(std::find(drives.begin(), drives.end(), "[-d-]"), drives.end());
}

TEST_F(FolderBrowseDialogTest, DoubleClicksMoveTheCurrentDirectoryAndOkGivesIt) {
  // A row no listing would give shows whether the list was filled again.
  const DialogScript::Step selectNothing = [](HWND d) {
    SendDlgItemMessageA(d, IDC_FOLDER_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("[zzz]"));
    SendDlgItemMessageA(d, IDC_FOLDER_LIST, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_FOLDER_LIST, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_FOLDER_LIST)));
  };
  const DialogScript::Step removeBeta = [](HWND) { RemoveTree(kRoot + "\\beta"); };
  const struct {
    const char* name;
    Steps steps;
    std::string directory;
    std::vector<std::string> rows;
  } cases[] = {
      {"nowhere", {}, kRoot, {"[..]", "[alpha]", "[beta]"}},
      {"into a subdirectory", {Open("[alpha]")}, kRoot + "\\alpha", {"[..]", "[inner]"}},
      {"two levels down", {Open("[alpha]"), Open("[inner]")}, kRoot + "\\alpha\\inner", {"[..]"}},
      {"down and up again", {Open("[alpha]"), Open("[..]")}, kRoot, {"[..]", "[alpha]", "[beta]"}},
      {"with the mouse", {Open("[beta]", true)}, kRoot + "\\beta", {"[..]"}},
      {"to the current drive", {Open("[-d-]")}, kRoot, {"[..]", "[alpha]", "[beta]"}},
      {"with nothing selected", {selectNothing}, kRoot, {"[..]", "[alpha]", "[beta]", "[zzz]"}},
      // The failed entry must not spoil the next one.
      {"into a directory gone since the listing, then another",
       {removeBeta, Open("[beta]"), Open("[alpha]")},
       kRoot + "\\alpha",
       {"[..]", "[inner]"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    std::string shown;
    std::vector<std::string> rows;
    Steps steps = c.steps;
    steps.push_back([&](HWND d) {
      shown = ItemText(d, IDC_FOLDER_PATH);
      rows = DirectoryRows(d);
    });
    steps.push_back(Press(IDOK));
    FolderBrowseDialog dialog(nullptr);
    DialogScript script(steps);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(CurrentDirectory(), c.directory);
    EXPECT_TRUE(SameDirectory(shown, c.directory)) << shown;
    EXPECT_EQ(dialog.selectedPath, shown);
    EXPECT_EQ(rows, c.rows);
  }
}

TEST_F(FolderBrowseDialogTest, ADriveEntryMovesToThatDriveAndCancelDoesNotComeBack) {
  std::string shown;
  FolderBrowseDialog dialog(nullptr);
  DialogScript script({Open("[-c-]"), [&](HWND d) { shown = ItemText(d, IDC_FOLDER_PATH); }, Key(VK_ESCAPE)});
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(SameDirectory(CurrentDirectory().substr(0, 3), "C:\\")) << CurrentDirectory();
  EXPECT_TRUE(SameDirectory(shown, CurrentDirectory())) << shown;
}

TEST_F(CopyTargetDialogTest, OkReturnsExactlyTheTextLeftInTheFieldCancelNothing) {
  const auto replaceText = [](std::string text) {
    return [text](HWND d) { SetDlgItemTextA(d, IDC_DESTINATION, text.c_str()); };
  };
  const DialogScript::Step typeOverProposal = [](HWND d) {
    HWND edit = GetDlgItem(d, IDC_DESTINATION);
    EXPECT_EQ(GetFocus(), edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (char c : std::string("E:\\Gry")) PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
  };
  const std::string longPath = "D:\\" + std::string(1500, 'x');
  const struct {
    const char* name;
    Steps steps;
    INT_PTR result;
    std::string destination;
  } cases[] = {
      {"proposal kept", {Press(IDOK)}, IDOK, kProposal},
      {"typed over the proposal", {typeOverProposal, Press(IDOK)}, IDOK, "E:\\Gry"},
      {"typed, then Enter", {typeOverProposal, Key(VK_RETURN)}, IDOK, "E:\\Gry"},
      {"a directory that does not exist", {replaceText("Q:\\no where"), Press(IDOK)}, IDOK, "Q:\\no where"},
      {"blanks kept", {replaceText("  C:\\x  "), Press(IDOK)}, IDOK, "  C:\\x  "},
      {"empty", {replaceText(""), Press(IDOK)}, IDOK, ""},
      {"longer than any command line", {replaceText(longPath), Press(IDOK)}, IDOK, longPath},
      {"typed, then the cancel button", {typeOverProposal, Press(IDCANCEL)}, IDCANCEL, kProposal},
      {"typed, then Escape", {typeOverProposal, Key(VK_ESCAPE)}, IDCANCEL, kProposal},
      {"typed, then the cancel command", {typeOverProposal, Command(IDCANCEL)}, IDCANCEL, kProposal},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CopyTargetDialog dialog;
    dialog.destination = kProposal;
    std::string shownFirst;
    Steps steps = c.steps;
    steps.insert(steps.begin(), [&](HWND d) { shownFirst = ItemText(d, IDC_DESTINATION); });
    DialogScript script(steps);
    EXPECT_EQ(dialog.DoModal(), c.result);
    EXPECT_EQ(shownFirst, kProposal);
    EXPECT_EQ(dialog.destination, c.destination);
  }
}

TEST_F(CopyTargetDialogTest, ConfirmedBrowsingPutsTheCurrentDirectoryIntoTheField) {
  const struct {
    const char* name;
    Steps browsing;
    std::string expected;
  } cases[] = {
      {"without moving", {}, kRoot},
      {"one level down", {Open("[alpha]")}, kRoot + "\\alpha"},
      {"two levels down", {Open("[alpha]"), Open("[inner]")}, kRoot + "\\alpha\\inner"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    std::string browserOpenedOn;
    std::string field;
    Steps steps = {Press(IDC_BROWSE), [&](HWND d) { browserOpenedOn = ItemText(d, IDC_FOLDER_PATH); }};
    steps.insert(steps.end(), c.browsing.begin(), c.browsing.end());
    steps.push_back(Press(IDOK));
    steps.push_back([&](HWND d) { field = ItemText(d, IDC_DESTINATION); });
    steps.push_back(Press(IDOK));
    CopyTargetDialog dialog;
    dialog.destination = kProposal;
    DialogScript script(steps);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    // The browser starts where the process stands, not at the proposal.
    EXPECT_TRUE(SameDirectory(browserOpenedOn, kRoot)) << browserOpenedOn;
    EXPECT_EQ(field, c.expected);
    EXPECT_EQ(dialog.destination, c.expected);
  }
}

TEST_F(CopyTargetDialogTest, CancellingKeepsTheFieldButNeverTheCurrentDirectory) {
  std::string fieldAfterCancel;
  std::string directoryAfterCancel;
  std::string secondBrowseOpenedOn;
  std::string fieldAfterOk;
  CopyTargetDialog dialog;
  dialog.destination = kProposal;
  DialogScript script({
      Press(IDC_BROWSE),
      Open("[beta]"),
      Press(IDCANCEL),
      [&](HWND d) {
        fieldAfterCancel = ItemText(d, IDC_DESTINATION);
        directoryAfterCancel = CurrentDirectory();
      },
      Press(IDC_BROWSE),
      [&](HWND d) { secondBrowseOpenedOn = ItemText(d, IDC_FOLDER_PATH); },
      Key(VK_RETURN),
      [&](HWND d) { fieldAfterOk = ItemText(d, IDC_DESTINATION); },
      Key(VK_ESCAPE),
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(fieldAfterCancel, kProposal);
  EXPECT_EQ(directoryAfterCancel, kRoot + "\\beta");
  EXPECT_TRUE(SameDirectory(secondBrowseOpenedOn, kRoot + "\\beta")) << secondBrowseOpenedOn;
  EXPECT_EQ(fieldAfterOk, kRoot + "\\beta");
  EXPECT_EQ(dialog.destination, kProposal);
  EXPECT_EQ(CurrentDirectory(), kRoot + "\\beta");
}

TEST_F(CopyTargetDialogTest, ButtonsOfBothDialogsShowTheLanguagesPicturesNamedWithTheirWords) {
  const struct {
    Language language;
    const char* cancel;
    const char* browse;
    std::vector<std::wstring> names;  // OK, cancel, browse
    char cancelLetter;
  } cases[] = {{Language::kPolish, "BM_ANUL_PU", "BM_EXPL_PU", {L"&OK", L"&Anuluj", L"&Przeglądaj..."}, 'a'},
               {Language::kCzech, "BM_ANUL_CU", "BM_EXPL_CU", {L"&OK", L"&Zrušit", L"&Procházet..."}, 'z'}};
  const std::vector<const char*> ok = {"BM_OK_U", "BM_OK_D", "BM_OK_F"};
  const std::vector<const char*> cancel = {"BM_ANUL_PU", "BM_ANUL_CU", "BM_ANUL_PF", "BM_ANUL_CF"};
  const std::vector<const char*> browse = {"BM_EXPL_PU", "BM_EXPL_CU", "BM_EXPL_PF", "BM_EXPL_CF"};
  for (const auto& c : cases) {
    SCOPED_TRACE(LanguageName(c.language));
    CopyTargetDialog dialog;
    dialog.language = c.language;
    DialogScript script({
        [&](HWND d) {
          EXPECT_EQ(ShownBitmap(GetDlgItem(d, IDOK), ok), "BM_OK_U");
          EXPECT_EQ(ShownBitmap(GetDlgItem(d, IDCANCEL), cancel), c.cancel);
          EXPECT_EQ(ShownBitmap(GetDlgItem(d, IDC_BROWSE), browse), c.browse);
          EXPECT_EQ(ButtonNames(d, {IDOK, IDCANCEL, IDC_BROWSE}), c.names);
        },
        Press(IDC_BROWSE),
        [&](HWND d) {
          // The browser's first tab stop, OK, holds the focus.
          EXPECT_EQ(ShownBitmap(GetDlgItem(d, IDOK), ok), "BM_OK_F");
          EXPECT_EQ(ShownBitmap(GetDlgItem(d, IDCANCEL), cancel), c.cancel);
          EXPECT_EQ(ButtonNames(d, {IDOK, IDCANCEL}),
                    std::vector<std::wstring>(c.names.begin(), c.names.begin() + 2));
        },
        // Alt and the letter of cancel, in the browser and then in the copy dialog.
        Alt(c.cancelLetter),
        Alt(c.cancelLetter),
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  }
}

}  // namespace
