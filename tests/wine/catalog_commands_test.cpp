#define PSAPI_VERSION 2  // the memory counters from kernel32, without psapi.dll
#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "framework/application.h"
#include "res/resource.h"
#include "tests/wine/dialog_script.h"
#include "tests/wine/test_support.h"
#include "ui/main/catalog_dialog.h"
#include "ui/main/command_lines.h"

using namespace testing_support;
using namespace script;

namespace {

const std::string kDisc = "D:\\COMMANDS";
const char* const kPrograms[] = {"SZACHY", "NOTES", "MOJE GRY", "KORZEN", "DOKUMENTY"};
const std::string kProgramList =
    "SZACHY\n1\nrun=szachy.exe /k\nins=setup.exe\ncop=c:\\gry\n\n"
    "NOTES\n1\n\n"
    "MOJE GRY\n1\nrun=brak.exe\nins=BRAK\\setup.exe\n\n"
    "KORZEN\n1\nrun=\\root_run.exe /r\nins=\\setup.exe\n\n"
    "DOKUMENTY\n1\nrun=czytaj mnie.tamodoc\nins=plan.tamonone\n";

// The main window, telling the test whenever its catalogue load opens a file.
class WatchedCatalogDialog : public CatalogDialog {
 public:
  std::function<void()> onOpen;

 protected:
  bool OpenLoadFile(TextFile& file, const std::string& path) override {
    if (onOpen) onOpen();
    return CatalogDialog::OpenLoadFile(file, path);
  }
};

// A disc with one category of five programs: Szachy (run, installer, its own copy destination), Notes
// (nothing to start), "Moje Gry" (a directory with a space, a run file that is missing), Korzen (both files
// named from the drive root) and Dokumenty (documents, of a type the tests register and of none).
class CatalogCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = CurrentDirectory();
    WriteDisc();
    // The platform looks for a program in the directory of the running program first: recorders there stand
    // in for the copy tool and the help viewer and show the exact command lines.
    InstallRecorder(ExecutableDirectory() + "\\xcopy.exe");
    InstallRecorder(ExecutableDirectory() + "\\winhelp.exe");
    InstallRecorder(ExecutableDirectory() + "\\hh.exe");
    record_ = kDisc + "\\record.txt";
    RecordTo(record_);

    dialog_.settings.catalog.categoryFile.polish = kDisc + "\\kat1.txt";
    dialog_.settings.catalog.categoryFile.czech = kDisc + "\\kat2.txt";
    dialog_.settings.catalog.programList = kDisc + "\\prog.txt";
    dialog_.settings.catalog.defaultDescription.polish = "opis\\opis1.txt";
    dialog_.settings.catalog.defaultDescription.czech = "opis\\opis2.txt";
    dialog_.settings.defaultCopyDirectory = "c:\\tmp";
    dialog_.settings.helpFile.polish = "D:\\HELP\\tamo_pl.hlp";
    dialog_.settings.helpFile.czech = "D:\\POMOC CZ\\tamo_cz.hlp";
    app_.SetMainWindow(&dialog_);
    watching_ = this;
    afterCall_ = SetWindowsHookExA(WH_CALLWNDPROCRET, AfterCall, nullptr, GetCurrentThreadId());
  }
  // Also between the cases of a table: each starts from a fresh disc, and in its directory.
  static void WriteDisc() {
    SetCurrentDirectoryOrDie("D:\\");
    RemoveTree(kDisc);
    for (const char* program : kPrograms) MakeDirectories(kDisc + "\\" + program + "\\opis");
    WriteTextFile(kDisc + "\\kat1.txt", "1;0;Gry\nGry polskie\n$\n");
    WriteTextFile(kDisc + "\\kat2.txt", "1;0;Hry\nHry ceske\n$\n");
    WriteTextFile(kDisc + "\\prog.txt", kProgramList);
    for (const char* program : kPrograms) {
      WriteTextFile(kDisc + "\\" + program + "\\opis\\opis1.txt", std::string(program) + " PL\n");
      WriteTextFile(kDisc + "\\" + program + "\\opis\\opis2.txt", std::string(program) + " CZ\n");
    }
    InstallRecorder(kDisc + "\\SZACHY\\szachy.exe");
    InstallRecorder(kDisc + "\\SZACHY\\setup.exe");
    SetCurrentDirectoryOrDie(kDisc);
  }
  void TearDown() override {
    UnhookWindowsHookEx(afterCall_);
    watching_ = nullptr;
    app_.SetMainWindow(nullptr);
    RecordTo("");
    for (const char* viewer : {"\\xcopy.exe", "\\winhelp.exe", "\\hh.exe"})
      DeleteFileA((ExecutableDirectory() + viewer).c_str());
    SetCurrentDirectoryOrDie(saved_);
    RemoveTree(kDisc);
  }

  // The command lines recorded by the programs started so far, once they have all ended, each as
  // "<directory>|<command line>".
  std::vector<std::string> Records() {
    WaitForStartedPrograms();
    std::vector<std::string> lines;
    const std::string text = ReadTextFile(record_);
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
      lines.push_back(text.substr(start, end - start));
    }
    return lines;
  }
  // The recorded command line with the started program's own path reduced to its file name.
  static std::string CommandOf(const std::string& record) {
    std::string command = record.substr(record.find('|') + 1);
    if (!command.empty() && command[0] == '"') {
      const std::size_t close = command.find('"', 1);
      std::string program = command.substr(1, close - 1);
      command = program.substr(program.rfind('\\') + 1) + command.substr(close + 1);
    } else {
      const std::size_t space = command.find(' ');
      std::string program = command.substr(0, space);
      command =
          program.substr(program.rfind('\\') + 1) + (space == std::string::npos ? "" : command.substr(space));
    }
    return command;
  }

  static DialogScript::Step Select(int row) {
    return [row](HWND dialog) {
      HWND list = GetDlgItem(dialog, IDC_LIST);
      SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    };
  }
  static DialogScript::Step Enter(int row) {
    return [row](HWND dialog) {
      Select(row)(dialog);
      HWND list = GetDlgItem(dialog, IDC_LIST);
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_LIST, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
    };
  }
  // Records the text of the message box the step receives, then answers it.
  DialogScript::Step Message() {
    return [this](HWND box) {
      messages_.push_back(DialogDriver::IsMessageBox(box) ? DialogDriver::MessageBoxText(box)
                                                          : "(no message box)");
      DialogDriver::PostClick(box, IDOK);
    };
  }
  static DialogScript::Step SetField(int id, std::string text) {
    return [id, text](HWND dialog) { SetDlgItemTextA(dialog, id, text.c_str()); };
  }
  DialogScript::Step Look(std::function<void(HWND)> look) { return look; }
  // Presses `id` in the copy dialog with the main window marked as needing paint; whether it still needs
  // paint when its copy command returns is recorded in paintPendingAfterCopy_.
  DialogScript::Step Answer(int id) {
    return [this, id](HWND copy) {
      InvalidateRect(dialog_.hwnd(), nullptr, FALSE);
      Press(id)(copy);
    };
  }
  static LRESULT CALLBACK AfterCall(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    CatalogCommandsTest* self = watching_;
    if (code == HC_ACTION && self != nullptr && call->hwnd == self->dialog_.hwnd() &&
        call->message == WM_COMMAND && LOWORD(call->wParam) == IDC_COPY) {
      self->paintPendingAfterCopy_.push_back(GetUpdateRect(call->hwnd, nullptr, FALSE) != FALSE);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  // Runs the main window with `steps`, ended by its own leave command answered yes.
  INT_PTR RunMain(std::vector<DialogScript::Step> steps) {
    steps.push_back(Command(IDCANCEL));
    steps.push_back(Press(IDOK));
    DialogScript script(steps);
    return dialog_.DoModal();
  }

  std::string saved_;
  std::string record_;
  std::vector<bool> paintPendingAfterCopy_;
  static inline CatalogCommandsTest* watching_ = nullptr;
  HHOOK afterCall_ = nullptr;
  Application app_;
  WatchedCatalogDialog dialog_;
  std::vector<std::string> messages_;
};

TEST_F(CatalogCommandsTest, RunAndInstallStartTheFilesInTheirDirectoryOrSayWhatIsMissing) {
  RunMain({Enter(0), Select(1), Press(IDC_RUN), Press(IDC_INSTALL),
           // Moje Gry: its run file is missing, its installer's directory is missing.
           Select(3), Press(IDC_RUN), Message(), Press(IDC_INSTALL), Message(),
           // Notes has nothing to start; with the up row or no row selected nothing is started either, even
           // when the disabled buttons are clicked by a message.
           Select(2), Command(IDC_RUN), Command(IDC_INSTALL), Select(0), Command(IDC_RUN),
           Command(IDC_COPY)});
  const std::vector<std::string> records = Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].substr(0, records[0].find('|')), kDisc + "\\SZACHY");
  EXPECT_EQ(CommandOf(records[0]), "szachy.exe /k");
  EXPECT_EQ(records[1].substr(0, records[1].find('|')), kDisc + "\\SZACHY");
  EXPECT_EQ(CommandOf(records[1]), "setup.exe");
  EXPECT_EQ(messages_, (std::vector<std::string>{
                           "Error : file to run " + kDisc + "\\MOJE GRY\\brak.exe not found",
                           "Error : instalation file MOJE GRY\\BRAK\\setup.exe not found",
                       }));
}

// "\\setup.exe" is at the root of the current drive, wherever on it the folder browser has left the process.
TEST_F(CatalogCommandsTest, RunAndInstallFromTheDriveRoot) {
  InstallRecorder("D:\\root_run.exe");
  InstallRecorder("D:\\setup.exe");
  RunMain({Enter(0), Select(4), Press(IDC_RUN), Press(IDC_INSTALL),
           Look([](HWND) { SetCurrentDirectoryA((kDisc + "\\SZACHY\\opis").c_str()); }), Press(IDC_INSTALL),
           Press(IDC_RUN)});
  DeleteFileA("D:\\root_run.exe");
  DeleteFileA("D:\\setup.exe");
  std::vector<std::string> commands;
  for (const std::string& record : Records())
    commands.push_back(record.substr(0, record.find('|')) + " " + CommandOf(record));
  EXPECT_EQ(commands, (std::vector<std::string>{"D:\\ root_run.exe /r", "D:\\ setup.exe", "D:\\ setup.exe",
                                                "D:\\ root_run.exe /r"}));
  EXPECT_EQ(messages_, std::vector<std::string>{});
}

// What the plain start cannot start goes to the shell; only what neither can start is said, with the path as
// the entry holds it, and a "no" to the elevation prompt is the user's own answer.
TEST_F(CatalogCommandsTest, RunAndInstallSayWhatNeitherStartCan) {
  const std::string run = kDisc + "\\SZACHY\\szachy.exe /k";
  const std::string install = kDisc + "\\SZACHY\\setup.exe";
  const struct {
    int button;
    UINT code;
    DWORD error;
    BOOL shellStarts;
    DWORD shellError;
    std::string message;  // empty: none
  } cases[] = {
      {IDC_INSTALL, 0, 740, TRUE, 0, ""},
      {IDC_INSTALL, 0, 740, FALSE, ERROR_CANCELLED, ""},
      {IDC_INSTALL, 0, 740, FALSE, ERROR_ACCESS_DENIED, "Error : could not start " + install},
      {IDC_RUN, 11, 193, FALSE, ERROR_NO_ASSOCIATION, "Error : could not start " + run},
      {IDC_RUN, 11, 193, TRUE, 0, ""},
      {IDC_RUN, 2, 2, TRUE, 0, "Error : file to run " + run + " not found"},
      {IDC_INSTALL, 3, 3, TRUE, 0, "Error : instalation file " + install + " not found"},
      {IDC_RUN, 5, 5, TRUE, 0, "Error : could not start " + run},
      {IDC_RUN, 33, 0, TRUE, 0, ""},
  };
  FakeStart start;
  dialog_.starters = FakeStarters(start);
  std::vector<DialogScript::Step> steps = {Enter(0), Select(1)};
  std::vector<std::string> expected;
  for (const auto& c : cases) {
    steps.push_back(
        Look([&start, &c](HWND) { start = {c.code, c.error, c.shellStarts, c.shellError, {}, {}}; }));
    steps.push_back(Press(c.button));
    // The shell is asked only when the plain start wanted administrator rights or found no program.
    steps.push_back(Look(
        [&start, &c](HWND) { EXPECT_EQ(start.shell.size(), c.code == 11 || c.error == 740 ? 1u : 0u); }));
    if (!c.message.empty()) {
      steps.push_back(Message());
      expected.push_back(c.message);
    }
  }
  RunMain(steps);
  EXPECT_EQ(messages_, expected);
  EXPECT_TRUE(Records().empty());
}

// For real: a document of a registered type opens in its program, named in full, in its own directory; one of
// no registered type is said. Wine's shell reads the types from HKEY_CLASSES_ROOT only, not from the per-user
// classes that Windows reads first.
TEST_F(CatalogCommandsTest, DocumentsOpenWithTheProgramRegisteredForTheirType) {
  InstallRecorder(kDisc + "\\viewer.exe");
  const std::string command = "\"" + kDisc + "\\viewer.exe\" \"%1\"";
  struct Registration {
    Registration(const std::string& command) {
      RegSetValueA(HKEY_CLASSES_ROOT, ".tamodoc", REG_SZ, "TamoTest.Document", 0);
      RegSetValueA(HKEY_CLASSES_ROOT, "TamoTest.Document\\shell\\open\\command", REG_SZ, command.c_str(), 0);
    }
    ~Registration() {
      RegDeleteTreeA(HKEY_CLASSES_ROOT, "TamoTest.Document");
      RegDeleteKeyA(HKEY_CLASSES_ROOT, ".tamodoc");
    }
  } registration(command);
  WriteTextFile(kDisc + "\\DOKUMENTY\\czytaj mnie.tamodoc", "tekst\r\n");
  WriteTextFile(kDisc + "\\DOKUMENTY\\plan.tamonone", "plan\r\n");
  RunMain({Enter(0), Select(5), Press(IDC_RUN), Press(IDC_INSTALL), Message()});
  const std::vector<std::string> records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].substr(0, records[0].find('|')), kDisc + "\\DOKUMENTY");
  EXPECT_EQ(CommandOf(records[0]), "viewer.exe \"" + kDisc + "\\DOKUMENTY\\czytaj mnie.tamodoc\"");
  EXPECT_EQ(messages_,
            std::vector<std::string>{"Error : could not start " + kDisc + "\\DOKUMENTY\\plan.tamonone"});
}

TEST_F(CatalogCommandsTest, CopyStartsTheCopyToolWithTheConfirmedDestination) {
  struct Case {
    const char* name;
    int row;
    std::string offered;
    std::vector<DialogScript::Step> answer;
    std::string command;  // empty: nothing started
    bool redrawn;
  };
  // Each answer ends by pressing a button of the copy dialog with the main window marked as needing paint: it
  // still needs it when the copy command has returned unless the command redrew the window.
  const Case cases[] = {
      {"own destination",
       1,
       "c:\\gry",
       {Answer(IDOK)},
       "xcopy " + kDisc + "\\SZACHY c:\\gry\\SZACHY\\ /E /C /F",
       true},
      {"typed destination",
       1,
       "c:\\gry",
       {SetField(IDC_DESTINATION, "c:\\tmp"), Answer(IDOK)},
       "xcopy " + kDisc + "\\SZACHY c:\\tmp\\SZACHY\\ /E /C /F",
       true},
      {"trailing backslash",
       1,
       "c:\\gry",
       {SetField(IDC_DESTINATION, "c:\\tmp\\"), Answer(IDOK)},
       "xcopy " + kDisc + "\\SZACHY c:\\tmp\\SZACHY\\ /E /C /F",
       true},
      {"default destination",
       2,
       "c:\\tmp",
       {Answer(IDOK)},
       "xcopy " + kDisc + "\\NOTES c:\\tmp\\NOTES\\ /E /C /F",
       true},
      {"spaces are quoted",
       3,
       "c:\\tmp",
       {SetField(IDC_DESTINATION, "c:\\Program Files"), Answer(IDOK)},
       "xcopy \"" + kDisc + "\\MOJE GRY\" \"c:\\Program Files\\MOJE GRY\"\\ /E /C /F",
       true},
      // Confirmed empty, the command ends at once: nothing started, nothing redrawn.
      {"empty destination", 1, "c:\\gry", {SetField(IDC_DESTINATION, ""), Answer(IDOK)}, "", false},
      {"cancelled", 1, "c:\\gry", {SetField(IDC_DESTINATION, "c:\\x"), Answer(IDCANCEL)}, "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteFileA(record_.c_str());
    std::string offered;
    std::vector<DialogScript::Step> steps = {
        Enter(0), Select(c.row), Press(IDC_COPY),
        Look([&](HWND copy) { offered = DialogDriver::WindowText(GetDlgItem(copy, IDC_DESTINATION)); })};
    steps.insert(steps.end(), c.answer.begin(), c.answer.end());
    paintPendingAfterCopy_.clear();
    RunMain(steps);
    EXPECT_EQ(paintPendingAfterCopy_, std::vector<bool>{!c.redrawn});
    EXPECT_EQ(offered, c.offered);
    const std::vector<std::string> records = Records();
    if (c.command.empty()) {
      EXPECT_TRUE(records.empty());
    } else {
      ASSERT_EQ(records.size(), 1u);
      EXPECT_EQ(CommandOf(records[0]), c.command);
    }
  }
}

TEST_F(CatalogCommandsTest, CopyDestinationTooLongForTheCommandIsRefused) {
  const std::string destination = "c:\\" + std::string(1020, 'd');
  RunMain(
      {Enter(0), Select(1), Press(IDC_COPY), SetField(IDC_DESTINATION, destination), Press(IDOK), Message()});
  EXPECT_TRUE(Records().empty());
  EXPECT_EQ(messages_,
            (std::vector<std::string>{"Error : copy destination " + destination + "\\SZACHY is too long"}));
}

TEST_F(CatalogCommandsTest, CommandLineTable) {
  struct Case {
    std::string directory;
    std::string destination;
    CopyCommand result;
    std::string command;
  };
  const Case cases[] = {
      {"D:\\PROGS\\ABC", "c:\\tmp", CopyCommand::kReady, "xcopy D:\\PROGS\\ABC c:\\tmp\\ABC\\ /E /C /F"},
      {"D:\\PROGS\\ABC", "c:\\tmp\\", CopyCommand::kReady, "xcopy D:\\PROGS\\ABC c:\\tmp\\ABC\\ /E /C /F"},
      // A program at the disc root has no last component: the destination ends in two backslashes.
      {"D:\\", "c:\\tmp", CopyCommand::kReady, "xcopy D:\\ c:\\tmp\\\\ /E /C /F"},
      {"D:\\", "c:\\my dir", CopyCommand::kReady, "xcopy D:\\ \"c:\\my dir\\\\\"\\ /E /C /F"},
      {"ABC", "c:\\tmp", CopyCommand::kReady, "xcopy ABC c:\\tmp\\\\ /E /C /F"},
      {"D:\\PROGS\\ABC", "", CopyCommand::kEmptyDestination, ""},
      {"D:\\PROGS\\ABC", "c:\\" + std::string(1015, 'x'), CopyCommand::kReady,
       "xcopy D:\\PROGS\\ABC c:\\" + std::string(1015, 'x') + "\\ABC\\ /E /C /F"},
      {"D:\\PROGS\\ABC", "c:\\" + std::string(1017, 'x'), CopyCommand::kDestinationTooLong, ""},
  };
  for (const Case& c : cases) {
    std::string command;
    std::string target;
    EXPECT_EQ(BuildCopyCommand(c.directory, c.destination, command, target), c.result)
        << c.destination.size();
    if (c.result == CopyCommand::kReady) {
      EXPECT_EQ(command, c.command);
    }
  }
  const std::pair<std::string, std::string> help[] = {
      {"D:\\tamo_pl.hlp", "winhelp D:\\tamo_pl.hlp"},
      {"D:\\POMOC CZ\\tamo_cz.hlp", "winhelp \"D:\\POMOC CZ\\tamo_cz.hlp\""},
      {"D:\\HELP\\tamo_pl.chm", "hh D:\\HELP\\tamo_pl.chm"},
      {"D:\\POMOC CZ\\TAMO_CZ.Chm", "hh \"D:\\POMOC CZ\\TAMO_CZ.Chm\""},
      // Only the end of the name counts.
      {"D:\\HELP.CHM\\tamo.hlp", "winhelp D:\\HELP.CHM\\tamo.hlp"},
      {"D:\\HELP\\tamo.chm.hlp", "winhelp D:\\HELP\\tamo.chm.hlp"},
      {"D:\\HELP\\tamochm", "winhelp D:\\HELP\\tamochm"},
      {"hm", "winhelp hm"},
  };
  for (const auto& [file, command] : help) EXPECT_EQ(BuildHelpCommand(file), command);
  const std::pair<std::string, std::string> compiled[] = {
      {"D:\\HELP\\tamo_pl.hlp", "D:\\HELP\\tamo_pl.chm"},
      {"D:\\POMOC CZ\\TAMO_CZ.HLP", "D:\\POMOC CZ\\TAMO_CZ.CHM"},
      {"tamo.hLp", "tamo.cHm"},
      {"D:\\HELP\\tamo_pl.chm", ""},
      {"D:\\HELP.HLP\\tamo", ""},
      {"hlp", ""},
  };
  for (const auto& [file, chm] : compiled) EXPECT_EQ(CompiledHelpBeside(file), chm) << file;
}

TEST_F(CatalogCommandsTest, LanguageSwitchReloadsTheOtherCatalogueAndHelp) {
  // Old help files go to their own viewer, compiled HTML help to the one every Windows has.
  const struct {
    std::string polish, czech;
    std::vector<std::string> commands;
  } cases[] = {
      {"D:\\HELP\\tamo_pl.hlp",
       "D:\\POMOC CZ\\tamo_cz.hlp",
       {"winhelp D:\\HELP\\tamo_pl.hlp", "winhelp \"D:\\POMOC CZ\\tamo_cz.hlp\""}},
      {"D:\\HELP\\tamo_pl.chm",
       "D:\\POMOC CZ\\tamo_cz.CHM",
       {"hh D:\\HELP\\tamo_pl.chm", "hh \"D:\\POMOC CZ\\tamo_cz.CHM\""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.polish);
    DeleteFileA(record_.c_str());
    dialog_.settings.language = Language::kPolish;
    dialog_.settings.helpFile.polish = c.polish;
    dialog_.settings.helpFile.czech = c.czech;
    std::vector<std::string> seen;
    auto rows = [&](HWND dialog) {
      char text[64] = {};
      SendDlgItemMessageA(dialog, IDC_LIST, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
      seen.push_back(text);
    };
    RunMain({Look(rows), Press(IDC_HELP_BUTTON),
             // The current language chosen again, or the chooser dismissed: nothing changes.
             Press(IDC_LANGUAGE), Press(IDC_POLISH), Look(rows), Press(IDC_LANGUAGE), Key(VK_ESCAPE),
             Look(rows),
             // The folder browser may have left the process anywhere; the reload still reads the same disc.
             Look([](HWND) { SetCurrentDirectoryA("C:\\"); }), Enter(0), Press(IDC_LANGUAGE),
             Press(IDC_CZECH), Look(rows), Look([&](HWND dialog) {
               EXPECT_EQ(dialog_.settings.language, Language::kCzech);
               EXPECT_EQ(dialog_.currentCategory(), 0);
               EXPECT_EQ(DialogDriver::WindowText(GetDlgItem(dialog, IDC_CATEGORY_TITLE)), "");
             }),
             Press(IDC_HELP_BUTTON)});
    EXPECT_EQ(seen, (std::vector<std::string>{"Gry", "Gry", "Gry", "Hry"}));
    std::vector<std::string> commands;
    for (const std::string& record : Records()) commands.push_back(CommandOf(record));
    EXPECT_EQ(commands, c.commands);
  }
}

// A viewer that does not start at all is said, with the whole command line, unless the help is an old help
// file with the compiled HTML help of its name beside it, which then opens instead: Windows 8 and later have
// no viewer for the old files. A file of the viewer's name that is no program makes a start fail for real:
// the platform takes the first file of that name on its search path, beside the running program, and refuses
// it.
TEST_F(CatalogCommandsTest, HelpViewerThatCannotStartIsSaidOrTheCompiledHelpOpened) {
  const std::string folder = kDisc + "\\POMOC CZ\\";
  const struct {
    std::string help;
    std::vector<std::string> broken;  // viewers that are no program
    std::string compiled;             // the file beside the help file; empty: none
    std::vector<std::string> commands;
    std::string message;  // empty: none
  } cases[] = {
      {"tamo_pl.chm", {"hh.exe"}, "", {}, "Error : could not start help hh \"" + folder + "tamo_pl.chm\""},
      {"tamo_pl.hlp",
       {"winhelp.exe"},
       "",
       {},
       "Error : could not start help winhelp \"" + folder + "tamo_pl.hlp\""},
      {"TAMO_PL.HLP", {"winhelp.exe"}, "TAMO_PL.CHM", {"hh \"" + folder + "TAMO_PL.CHM\""}, ""},
      {"tamo_pl.hlp", {}, "tamo_pl.chm", {"winhelp \"" + folder + "tamo_pl.hlp\""}, ""},
      {"tamo_pl.hlp",
       {"winhelp.exe", "hh.exe"},
       "tamo_pl.chm",
       {},
       "Error : could not start help winhelp \"" + folder + "tamo_pl.hlp\""},
      // Only a file beside counts.
      {"tamo_pl.hlp",
       {"winhelp.exe"},
       "tamo_pl.chm\\x",
       {},
       "Error : could not start help winhelp \"" + folder + "tamo_pl.hlp\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.help + " beside " + c.compiled);
    messages_.clear();
    DeleteFileA(record_.c_str());
    RemoveTree(folder);
    MakeDirectories(folder);
    if (!c.compiled.empty()) {
      MakeDirectories((folder + c.compiled).substr(0, (folder + c.compiled).rfind('\\')));
      WriteTextFile(folder + c.compiled, "");
    }
    for (const char* viewer : {"winhelp.exe", "hh.exe"}) {
      const std::string path = ExecutableDirectory() + "\\" + viewer;
      if (std::find(c.broken.begin(), c.broken.end(), viewer) != c.broken.end()) {
        WriteTextFile(path, "not a program\r\n");
      } else {
        InstallRecorder(path);
      }
    }
    dialog_.settings.helpFile.polish = folder + c.help;
    std::vector<DialogScript::Step> steps = {Press(IDC_HELP_BUTTON)};
    if (!c.message.empty()) steps.push_back(Message());
    RunMain(steps);
    std::vector<std::string> commands;
    for (const std::string& record : Records()) commands.push_back(CommandOf(record));
    EXPECT_EQ(commands, c.commands);
    EXPECT_EQ(messages_,
              c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
  }
}

TEST_F(CatalogCommandsTest, FailedReloadEndsTheWindowAfterItsMessage) {
  DialogScript script({Look([&](HWND) { DeleteFileA(dialog_.settings.catalog.categoryFile.czech.c_str()); }),
                       Press(IDC_LANGUAGE), Press(IDC_CZECH), Message()});
  EXPECT_EQ(dialog_.DoModal(), IDOK);
  EXPECT_EQ(messages_, (std::vector<std::string>{"Could not open file " + kDisc + "\\kat2.txt"}));
  EXPECT_TRUE(dialog_.categories().IsEmpty());
}

TEST_F(CatalogCommandsTest, ButtonsAreNamedWithTheWordsOfTheirPicturesInTheLanguage) {
  const std::vector<std::wstring> polish = {L"&Język", L"&Uruchom",     L"&Kopiuj", L"&Instaluj",
                                            L"&Pomoc", L"Kontakt &ZoT", L"&Wyjście"};
  const std::vector<std::wstring> czech = {L"&Jazyk",    L"&Spustit",     L"&Kopírovat", L"&Instalovat",
                                           L"&Nápověda", L"Kontakt &ZoT", L"K&onec"};
  std::vector<std::vector<std::wstring>> seen;
  auto names = Look([&](HWND dialog) {
    seen.push_back(ButtonNames(
        dialog, {IDC_LANGUAGE, IDC_RUN, IDC_COPY, IDC_INSTALL, IDC_HELP_BUTTON, IDC_ZOT, IDCANCEL}));
    // The texts are never painted: the buttons show their pictures exactly.
    UpdateWindow(dialog);
    EXPECT_EQ(ShownBitmap(GetDlgItem(dialog, IDCANCEL), {"BM_CANCEL_PU", "BM_CANCEL_CU"}),
              dialog_.settings.language == Language::kPolish ? "BM_CANCEL_PU" : "BM_CANCEL_CU");
  });
  SetCursorPos(1000, 700);  // away from the buttons, which would take the focus and show another picture
  RunMain(
      {names, Press(IDC_LANGUAGE), Press(IDC_CZECH), names, Press(IDC_LANGUAGE), Press(IDC_POLISH), names});
  EXPECT_EQ(seen, (std::vector<std::vector<std::wstring>>{polish, czech, polish}));
}

// Alt and a button's letter press it, in the main window and in the dialogs it opens; a disabled button's
// letter does nothing, and a letter typed in the list goes to the list.
TEST_F(CatalogCommandsTest, AltAndALetterPressTheButton) {
  std::vector<std::string> windows;
  auto where = Look([&](HWND dialog) {
    const LRESULT row = SendDlgItemMessageA(dialog, IDC_LIST, LB_GETCURSEL, 0, 0);
    windows.push_back(dialog == dialog_.hwnd()                         ? "main, row " + std::to_string(row)
                      : GetDlgItem(dialog, IDC_DESTINATION) != nullptr ? "copy"
                      : GetDlgItem(dialog, IDC_QUESTION) != nullptr    ? "exit confirmation"
                                                                       : "other");
  });
  auto typed = [](char letter) {
    return DialogScript::Step([letter](HWND dialog) {
      SetFocus(GetDlgItem(dialog, IDC_LIST));
      PostMessageA(GetDlgItem(dialog, IDC_LIST), WM_CHAR, static_cast<WPARAM>(letter), 1);
    });
  };
  RunMain({Enter(0), Alt('k'), where,         // copy disabled: nothing opens
           typed('k'), where,                 // the list selects Korzen, row 4
           Key(VK_UP), where,                 // and Moje Gry above it
           Alt('K'), where, Alt('a'), where,  // copy, then its cancel
           Select(1), Alt('u'), Alt('w'), where, Alt('n'), where});
  EXPECT_EQ(windows, (std::vector<std::string>{"main, row -1", "main, row 4", "main, row 3", "copy",
                                               "main, row 3", "exit confirmation", "main, row 1"}));
  const std::vector<std::string> records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(CommandOf(records[0]), "szachy.exe /k");
}

// The cursor the user sees whenever the load opens a file, whenever a message box asks something and when the
// window is running, collapsed where it stays the same.
TEST_F(CatalogCommandsTest, WaitCursorWhileTheCatalogueLoadsButNotOverItsMessages) {
  const HCURSOR before = LoadCursorA(nullptr, IDC_CROSS);
  std::vector<std::string> seen;
  auto note = [&](const std::string& when) {
    const HCURSOR shown = GetCursor();
    const std::string entry = when + (shown == before                           ? " as before"
                                      : shown == LoadCursorA(nullptr, IDC_WAIT) ? " wait"
                                                                                : " other");
    if (seen.empty() || seen.back() != entry) seen.push_back(entry);
  };
  dialog_.onOpen = [&] { note("open"); };
  auto running = Look([&](HWND) { note("running"); });
  auto message = Look([&](HWND box) {
    note(DialogDriver::IsMessageBox(box) ? "message" : "(no message box)");
    DialogDriver::PostClick(box, IDOK);
  });
  const auto language = Press(IDC_LANGUAGE), czech = Press(IDC_CZECH), leave = Command(IDCANCEL),
             yes = Press(IDOK);
  const struct {
    const char* name;
    std::function<void()> breakDisc;
    std::vector<DialogScript::Step> steps;
    std::vector<std::string> seen;
  } cases[] = {
      {"good load and switch",
       [] {},
       {running, language, czech, running, leave, yes},
       {"open wait", "running as before", "open wait", "running as before", "ended as before"}},
      {"warning, and the load goes on",
       [] { WriteTextFile(kDisc + "\\prog.txt", "\nNOTES\n77\n\n" + kProgramList); },
       {message, running, leave, yes},
       {"open wait", "message as before", "open wait", "running as before", "ended as before"}},
      {"failed load at start",
       [] { DeleteFileA((kDisc + "\\NOTES\\opis\\opis1.txt").c_str()); },
       {message},
       {"open wait", "message as before", "ended as before"}},
      {"failed load at the switch",
       [] { DeleteFileA((kDisc + "\\kat2.txt").c_str()); },
       {running, language, czech, message},
       {"open wait", "running as before", "open wait", "message as before", "ended as before"}},
  };
  // Away from every window: nothing but the program changes the cursor.
  SetCursorPos(1000, 700);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteDisc();
    c.breakDisc();
    dialog_.settings.language = Language::kPolish;
    seen.clear();
    SetCursor(before);
    {
      DialogScript script(c.steps);
      dialog_.DoModal();
    }
    note("ended");
    EXPECT_EQ(seen, c.seen);
  }
}

TEST_F(CatalogCommandsTest, MakerPictureFromItsButtonAndTheSystemMenu) {
  int pictures = 0;
  auto isPicture = [&](HWND about) {
    if (GetDlgItem(about, IDC_LIST) == nullptr && GetWindow(about, GW_CHILD) == nullptr) ++pictures;
  };
  auto sysCommand = [](WPARAM command) {
    return [command](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, command, 0); };
  };
  RunMain({Press(IDC_ZOT), Look(isPicture), Command(IDCANCEL), sysCommand(IDM_ABOUT), Look(isPicture),
           Key(VK_ESCAPE), sysCommand(IDM_ABOUT + 5), Look(isPicture), Command(IDOK)});
  EXPECT_EQ(pictures, 3);
}

TEST_F(CatalogCommandsTest, LeaveAsksFirstAndNoKeepsTheWindow) {
  int confirmations = 0;
  auto isConfirmation = [&](HWND dialog) {
    if (GetDlgItem(dialog, IDC_QUESTION) != nullptr) ++confirmations;
  };
  const INT_PTR result = RunMain({Command(IDCANCEL), Look(isConfirmation), Press(IDCANCEL), Command(IDCANCEL),
                                  Look(isConfirmation), Key(VK_ESCAPE), Look([&](HWND dialog) {
                                    EXPECT_EQ(dialog, dialog_.hwnd());
                                    EXPECT_FALSE(dialog_.categories().IsEmpty());
                                  })});
  EXPECT_EQ(confirmations, 2);
  // Answered yes: the window was destroyed and its catalogue released.
  EXPECT_EQ(result, -1);
  EXPECT_TRUE(dialog_.categories().IsEmpty());
}

// The pictures shown by the template's picture controls of `dialog`.
std::vector<HGDIOBJ> TemplatePictures(HWND dialog) {
  std::vector<HGDIOBJ> pictures;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") != 0 || (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP)
      continue;
    pictures.push_back(reinterpret_cast<HGDIOBJ>(SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0)));
  }
  return pictures;
}

TEST_F(CatalogCommandsTest, EveryWindowFreesThePicturesItsTemplateLoaded) {
  const struct {
    const char* window;
    std::vector<DialogScript::Step> open;
    std::vector<DialogScript::Step> close;
    std::size_t pictures;  // background, and the exit confirmation's question
  } cases[] = {
      {"language chooser", {Press(IDC_LANGUAGE)}, {Command(IDCANCEL)}, 1},
      {"copy destination", {Select(1), Press(IDC_COPY)}, {Command(IDCANCEL)}, 1},
      {"folder browser",
       {Select(1), Press(IDC_COPY), Press(IDC_BROWSE)},
       {Command(IDCANCEL), Command(IDCANCEL)},
       1},
      {"exit confirmation", {Command(IDCANCEL)}, {Press(IDCANCEL)}, 2},
  };
  std::map<std::string, std::vector<HGDIOBJ>> shown;
  auto keep = [&](std::string window) {
    return Look([&, window](HWND d) { shown[window] = TemplatePictures(d); });
  };
  auto gone = [&](std::string window) {
    return Look([&, window](HWND) {
      for (HGDIOBJ picture : shown[window]) EXPECT_EQ(GetObjectType(picture), 0u) << window;
    });
  };
  std::vector<DialogScript::Step> steps = {keep("main window"), Enter(0)};
  for (const auto& c : cases) {
    steps.insert(steps.end(), c.open.begin(), c.open.end());
    steps.push_back(keep(c.window));
    steps.insert(steps.end(), c.close.begin(), c.close.end());
    steps.push_back(gone(c.window));
  }
  RunMain(steps);
  gone("main window")(nullptr);
  EXPECT_EQ(shown["main window"].size(), 1u);
  for (const auto& c : cases) EXPECT_EQ(shown[c.window].size(), c.pictures) << c.window;
}

// The process's commit charge, which grows by a whole background (640 by 480 at 32 bits) per leaked picture.
// It is PagefileUsage: Wine fills only the basic counters, not PrivateUsage, the same figure.
SIZE_T CommitCharge() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PagefileUsage;
}

TEST_F(CatalogCommandsTest, FortyRoundsOfEveryDialogLeaveTheMemoryWhereItWas) {
  int browsed = 0;  // rounds that reached the folder browser, the innermost window
  const std::vector<DialogScript::Step> round = {
      Press(IDC_LANGUAGE),
      Press(IDC_CZECH),
      Press(IDC_LANGUAGE),
      Press(IDC_POLISH),
      Press(IDC_ZOT),
      Command(IDCANCEL),
      Enter(0),
      Select(1),
      Press(IDC_COPY),
      Press(IDC_BROWSE),
      Look([&](HWND d) { browsed += GetDlgItem(d, IDC_FOLDER_LIST) != nullptr ? 1 : 0; }),
      Command(IDCANCEL),
      Command(IDCANCEL),
      Command(IDCANCEL),
      Press(IDCANCEL)};
  SIZE_T before = 0;
  SIZE_T after = 0;
  // A first round warms up what the platform keeps once made (window classes, fonts, the heap's pages).
  std::vector<DialogScript::Step> steps = round;
  steps.push_back(Look([&](HWND) { before = CommitCharge(); }));
  for (int i = 0; i < 40; ++i) steps.insert(steps.end(), round.begin(), round.end());
  steps.push_back(Look([&](HWND) { after = CommitCharge(); }));
  RunMain(steps);
  EXPECT_EQ(browsed, 41);
  ASSERT_GT(before, 0u);
  const double grownMegabytes = (static_cast<double>(after) - static_cast<double>(before)) / (1 << 20);
  std::printf("commit charge over 40 rounds: %.2f MB\n", grownMegabytes);
  // One leaked background is 1.2 MB.
  EXPECT_LT(grownMegabytes, 1.0);
}

}  // namespace
