#include "ui/main/catalog_dialog.h"

#include <direct.h>

#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include "platform/paths.h"
#include "catalog/catalog_load.h"
#include "catalog/disc_access.h"
#include "catalog/load_sink.h"
#include "disc/finding.h"
#include "framework/message_box.h"
#include "disc/text_file.h"
#include "framework/wait_cursor.h"
#include "res/resource.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/copy_target_dialog.h"
#include "ui/dialogs/exit_confirm_dialog.h"
#include "ui/dialogs/language_dialog.h"
#include "ui/main/command_lines.h"

namespace {

constexpr const char* kWindowTitle = "Tamo CD (ZoT)";
constexpr const char* kUpRow = "..";
constexpr const char* kRunNotFound = "Error : file to run %s not found";
constexpr const char* kInstallNotFound = "Error : instalation file %s not found";
constexpr const char* kNotStarted = "Error : could not start %s";
constexpr const char* kCopyTooLong = "Error : copy destination %s is too long";
constexpr const char* kHelpNotStarted = "Error : could not start help %s";

// A message format with one %s, filled without any limit on the path's length.
std::string Format(const char* format, const std::string& path) {
  const int length = std::snprintf(nullptr, 0, format, path.c_str());
  if (length < 0) return format;
  std::vector<char> text(static_cast<std::size_t>(length) + 1);
  std::snprintf(text.data(), text.size(), format, path.c_str());
  return std::string(text.data(), static_cast<std::size_t>(length));
}

std::string CurrentDirectory() {
  char buffer[kMaxPathLength + 1] = {};
  return _getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string();
}

// The load's relative paths mean what they mean on the disc, from the current directory.
class WindowDiscAccess : public DiscAccess {
 public:
  using Opener = std::function<bool(TextFile& file, const std::string& path)>;
  explicit WindowDiscAccess(Opener open) : open_(std::move(open)) {}
  void ResolvePath(std::string& path) override { resolver_.Resolve(path); }
  bool OpenTextFile(TextFile& file, const std::string& path) override { return open_(file, path); }

 private:
  Opener open_;
  PathResolver resolver_;  // one load's worth of directories seen
};

// The browser's way with what the load finds, in message boxes owned by the main window: a warning is shown
// at once and the load goes on; the first finding that stops the load ends it, and is shown once the load has
// closed its files (the box is modal and may stay up for as long as the user likes: the disc's files should
// not be held open behind it). ShowMessage pauses the load's wait cursor around each box.
class LoadMessages : public LoadSink {
 public:
  explicit LoadMessages(HWND owner) : owner_(owner) {}
  bool Report(const LoadFinding& finding) override {
    if (!finding.stopsLoad) {
      ::ShowMessage(owner_, finding.message);
      return true;
    }
    stopMessage_ = finding.message;
    return false;
  }
  void LoadStopped() override { ::ShowMessage(owner_, stopMessage_); }

 private:
  HWND owner_;
  std::string stopMessage_;
};

std::string LoadResourceString(UINT id) {
  char text[256] = {};
  const int length = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
  return std::string(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

}  // namespace

CatalogDialog::CatalogDialog()
    : Dialog(IDD_CATALOG),
      icon_(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      blackBrush_(CreateSolidBrush(RGB(0, 0, 0))) {}

// The icon comes from the program's resources and is shared: it is never destroyed.
CatalogDialog::~CatalogDialog() = default;

BOOL CatalogDialog::OnInitDialog() {
  startDirectory_ = CurrentDirectory();
  descriptionPane_.Attach(Item(IDC_DESCRIPTION));
  list_.Attach(Item(IDC_LIST));
  helpButton_.Bind(hwnd_, IDC_HELP_BUTTON);
  languageButton_.Bind(hwnd_, IDC_LANGUAGE);
  runButton_.Bind(hwnd_, IDC_RUN);
  installButton_.Bind(hwnd_, IDC_INSTALL);
  zotButton_.Bind(hwnd_, IDC_ZOT);
  copyButton_.Bind(hwnd_, IDC_COPY);
  cancelButton_.Bind(hwnd_, IDCANCEL);

  SetText(kWindowTitle);

  HMENU systemMenu = GetSystemMenu(hwnd_, FALSE);
  if (systemMenu != nullptr) {
    const std::string aboutItem = LoadResourceString(IDS_ABOUT_MENU_ITEM);
    if (!aboutItem.empty()) {
      AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
      AppendMenuA(systemMenu, MF_STRING, IDM_ABOUT, aboutItem.c_str());
    }
  }

  Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));

  if (!settings.multiLanguage) languageButton_.Enable(false);
  LoadButtonBitmaps();

  // From a CD the load takes seconds, before the window shows at all.
  const WaitCursor loading;
  if (!LoadCatalog()) {
    EndDialog(IDOK);
    return TRUE;
  }
  currentCategory_ = 0;
  RefillList();
  return TRUE;
}

void CatalogDialog::LoadButtonBitmaps() {
  struct ButtonImages {
    BitmapPushButton CatalogDialog::*button;
    const char* polish[3];
    const char* czech[3];
    const char* disabled;
    // The words of the pictures, in code page 1250, for screen readers; "&" marks the letter that Alt
    // presses, one letter per button, different within the window.
    const char* polishName;
    const char* czechName;
  };
  // Only the buttons the window disables have a disabled image. Language, install, help and the maker's
  // button have one picture set for both languages, which carries the words of both; the name is the current
  // language's.
  static const ButtonImages kImages[] = {
      {&CatalogDialog::cancelButton_,
       {"BM_CANCEL_PU", "BM_CANCEL_PD", "BM_CANCEL_PF"},
       {"BM_CANCEL_CU", "BM_CANCEL_CD", "BM_CANCEL_CF"},
       "",
       "&Wyj\x9C"
       "cie",  // Wyjście
       "K&onec"},
      {&CatalogDialog::languageButton_,
       {"BM_MENU_PU", "BM_MENU_PD", "BM_MENU_PF"},
       {"BM_MENU_PU", "BM_MENU_PD", "BM_MENU_PF"},
       "BM_GRAYED",
       "&J\xEAzyk",  // Język
       "&Jazyk"},
      {&CatalogDialog::runButton_,
       {"BM_RUN_PU", "BM_RUN_PD", "BM_RUN_PF"},
       {"BM_RUN_CU", "BM_RUN_CD", "BM_RUN_CF"},
       "BM_GRAYED",
       "&Uruchom",
       "&Spustit"},
      {&CatalogDialog::installButton_,
       {"BM_INST_PU", "BM_INST_PD", "BM_INST_PF"},
       {"BM_INST_PU", "BM_INST_PD", "BM_INST_PF"},
       "BM_GRAYED",
       "&Instaluj",
       "&Instalovat"},
      {&CatalogDialog::zotButton_,
       {"BM_ZOT_PU", "BM_ZOT_PD", "BM_ZOT_PF"},
       {"BM_ZOT_PU", "BM_ZOT_PD", "BM_ZOT_PF"},
       "",
       "Kontakt &ZoT",
       "Kontakt &ZoT"},
      {&CatalogDialog::copyButton_,
       {"BM_COPY_PU", "BM_COPY_PD", "BM_COPY_PF"},
       {"BM_COPY_CU", "BM_COPY_CD", "BM_COPY_CF"},
       "BM_GRAYED",
       "&Kopiuj",
       "&Kop\xEDrovat"},  // Kopírovat
      {&CatalogDialog::helpButton_,
       {"BM_HELP_PU", "BM_HELP_PD", "BM_HELP_PF"},
       {"BM_HELP_PU", "BM_HELP_PD", "BM_HELP_PF"},
       "",
       "&Pomoc",
       "&N\xE1pov\xEC"
       "da"},  // Nápověda
  };
  for (const ButtonImages& images : kImages) {
    const bool polish = settings.language == Language::kPolish;
    const char* const* names = polish ? images.polish : images.czech;
    BitmapPushButton& button = this->*images.button;
    button.SetText(polish ? images.polishName : images.czechName);
    button.LoadStateBitmaps(names[0], names[1], names[2], images.disabled);
  }
  // Each button has just painted itself; a repaint of the whole window now would only make them flicker.
  ValidateRect(hwnd_, nullptr);
}

bool CatalogDialog::LoadCatalog() {
  WindowDiscAccess disc([this](TextFile& file, const std::string& path) { return OpenLoadFile(file, path); });
  LoadMessages messages(hwnd_);
  return ::LoadCatalog(settings.catalog, settings.language, categories_, disc, messages);
}

bool CatalogDialog::OpenLoadFile(TextFile& file, const std::string& path) { return file.Open(path); }

void CatalogDialog::ReleaseCatalog() {
  if (list_.hwnd() != nullptr && IsWindow(list_.hwnd())) list_.ResetContent();
  categories_.Clear();
}

void CatalogDialog::DisableProgramButtons() {
  copyButton_.Enable(false);
  runButton_.Enable(false);
  installButton_.Enable(false);
}

void CatalogDialog::RefillList() {
  list_.ResetContent();
  descriptionPane_.SetText(std::string());
  DisableProgramButtons();

  Category* current = categories_.Get(currentCategory_);
  SetDlgItemTextA(hwnd_, IDC_CATEGORY_TITLE, current != nullptr ? current->name.c_str() : "");

  categories_.ResetListIndexes();
  if (currentCategory_ != 0) {
    const int up = list_.InsertString(0, kUpRow);
    if (up >= 0) list_.SetItemData(up, 0);
  }
  for (const Category* child : categories_.Children(currentCategory_)) {
    const int row = list_.AddString(child->name);
    if (row < 0) continue;
    list_.SetItemData(row, 0);
    categories_.Get(child->id)->listIndex = row;
  }
  if (current == nullptr) return;
  for (const auto& entry : current->programs) {
    const int row = list_.AddString(entry->title);
    if (row >= 0) list_.SetItemData(row, reinterpret_cast<LPARAM>(entry.get()));
  }
}

void CatalogDialog::ShowProgramDescription(const ProgramEntry& entry) {
  // The file was readable while the catalogue loaded, but the disc may have been changed since: the pane then
  // says which file is missing instead of keeping the previous row's text.
  TextFile file;
  if (!file.Open(entry.descriptionPath)) {
    descriptionPane_.SetText(kNoDescriptionMessage + entry.descriptionPath);
    return;
  }
  std::string text;
  std::string line;
  while (file.ReadLine(line)) {
    text += line;
    text += "\r\n";
  }
  descriptionPane_.SetText(text);
}

void CatalogDialog::OnListSelectionChange() {
  const int row = list_.GetCurSel();
  // No selection at all reads like the up row: nothing to describe, nothing to start.
  if (row < 0 || (currentCategory_ != 0 && row == 0)) {
    descriptionPane_.SetText(std::string());
    DisableProgramButtons();
    return;
  }
  const LPARAM value = list_.GetItemData(row);
  if (value == 0) {
    const Category* category = categories_.FindByListRow(row);
    descriptionPane_.SetText(category != nullptr ? category->description : std::string());
    DisableProgramButtons();
    return;
  }
  const ProgramEntry& entry = *reinterpret_cast<const ProgramEntry*>(value);
  ShowProgramDescription(entry);
  copyButton_.Enable(true);
  runButton_.Enable(entry.runPath.has_value());
  installButton_.Enable(entry.installPath.has_value());
}

void CatalogDialog::OnListDoubleClick() {
  const int row = list_.GetCurSel();
  if (currentCategory_ != 0 && row == 0) {
    const Category* current = categories_.Get(currentCategory_);
    if (current != nullptr && categories_.Get(current->parent) != nullptr) currentCategory_ = current->parent;
  } else if (row >= 0 && list_.GetItemData(row) == 0) {
    const Category* category = categories_.FindByListRow(row);
    if (category != nullptr) currentCategory_ = category->id;
  }
  RefillList();
}

bool CatalogDialog::OnCommand(int id, int code, HWND /*control*/) {
  static const CommandRoute<CatalogDialog> kCommands[] = {
      {IDC_LIST, LBN_SELCHANGE, &CatalogDialog::OnListSelectionChange},
      {IDC_LIST, LBN_DBLCLK, &CatalogDialog::OnListDoubleClick},
      {IDC_RUN, BN_CLICKED, &CatalogDialog::OnRun},
      {IDC_INSTALL, BN_CLICKED, &CatalogDialog::OnInstall},
      {IDC_COPY, BN_CLICKED, &CatalogDialog::OnCopy},
      {IDC_HELP_BUTTON, BN_CLICKED, &CatalogDialog::OnHelpButton},
      {IDC_LANGUAGE, BN_CLICKED, &CatalogDialog::OnLanguage},
      {IDC_ZOT, BN_CLICKED, &CatalogDialog::OnZot},
  };
  return Route(this, kCommands, id, code);
}

bool CatalogDialog::OnMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/, INT_PTR& result) {
  switch (message) {
    case WM_PAINT:
      if (!OnPaint()) return false;
      result = TRUE;
      return true;
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<INT_PTR>(icon_);
      return true;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      result = reinterpret_cast<INT_PTR>(OnControlColour(reinterpret_cast<HDC>(wParam)));
      return true;
    case WM_SYSCOMMAND:
      // The system menu's maker item; every other system command (move, close, ...) takes the default path.
      if ((wParam & 0xFFF0) != IDM_ABOUT) return false;
      OnZot();
      result = TRUE;
      return true;
    case WM_DESTROY:
      OnDestroy();
      return false;
    default:
      return false;
  }
}

bool CatalogDialog::OnPaint() {
  if (!IsIconic(hwnd_)) return false;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd_, &paint);
  Send(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc));
  RECT client;
  GetClientRect(hwnd_, &client);
  const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, icon_);
  EndPaint(hwnd_, &paint);
  return true;
}

HBRUSH CatalogDialog::OnControlColour(HDC dc) {
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkColor(dc, RGB(0, 0, 0));
  return blackBrush_.get();
}

// However the window ends (leave, a failed load), the help viewer is told it is no longer needed and the
// catalogue goes with the window.
void CatalogDialog::OnDestroy() {
  WinHelpA(hwnd_, settings.helpFile[settings.language].c_str(), HELP_QUIT, 0);
  ReleaseCatalog();
}

const ProgramEntry* CatalogDialog::SelectedProgram() const {
  const int row = list_.GetCurSel();
  if (row < 0 || (currentCategory_ != 0 && row == 0)) return nullptr;
  return reinterpret_cast<const ProgramEntry*>(list_.GetItemData(row));
}

void CatalogDialog::Launch(const std::optional<std::string>& path, const char* notFoundFormat) {
  if (!path.has_value()) return;
  switch (LaunchInDirectory(*path, SW_SHOW, starters)) {
    case LaunchResult::kFileNotFound:
    case LaunchResult::kPathNotFound:
      ::ShowMessage(hwnd_, Format(notFoundFormat, *path));
      break;
    case LaunchResult::kNotStarted:
      ::ShowMessage(hwnd_, Format(kNotStarted, *path));
      break;
    case LaunchResult::kStarted:
    case LaunchResult::kNothingToStart:
    // The user's own answer to the elevation prompt: nothing to tell.
    case LaunchResult::kDeclined:
      break;
  }
}

void CatalogDialog::OnRun() {
  const ProgramEntry* entry = SelectedProgram();
  if (entry != nullptr) Launch(entry->runPath, kRunNotFound);
}

void CatalogDialog::OnInstall() {
  const ProgramEntry* entry = SelectedProgram();
  if (entry != nullptr) Launch(entry->installPath, kInstallNotFound);
}

void CatalogDialog::OnCopy() {
  const ProgramEntry* entry = SelectedProgram();
  if (entry == nullptr) return;
  CopyTargetDialog dialog;
  dialog.destination = entry->copyDestination.value_or(settings.defaultCopyDirectory);
  dialog.language = settings.language;
  if (dialog.DoModal() == IDOK) {
    std::string command;
    std::string target;
    switch (BuildCopyCommand(entry->directory, dialog.destination, command, target)) {
      case CopyCommand::kReady:
        WinExec(command.c_str(), SW_SHOW);
        break;
      case CopyCommand::kDestinationTooLong:
        ::ShowMessage(hwnd_, Format(kCopyTooLong, target));
        break;
      case CopyCommand::kEmptyDestination:
        // An empty destination confirmed: the command ends here, as if it had never been given.
        return;
    }
  }
  RedrawNow();
}

// A viewer that cannot be started at all (none on this system, or not a program) is said, not passed over: a
// press that does nothing looks like a broken disc. 31 and below are the platform's failures. Windows 8 and
// later have no viewer for the old help files: the compiled HTML help of the same name beside one, which
// every Windows opens, is shown instead.
void CatalogDialog::OnHelpButton() {
  const std::string& helpFile = settings.helpFile[settings.language];
  const std::string command = BuildHelpCommand(helpFile);
  if (WinExec(command.c_str(), SW_SHOW) > 31) return;
  const std::string compiled = CompiledHelpBeside(helpFile);
  const DWORD attributes = compiled.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(compiled.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
      WinExec(BuildHelpCommand(compiled).c_str(), SW_SHOW) > 31) {
    return;
  }
  ::ShowMessage(hwnd_, Format(kHelpNotStarted, command));
}

void CatalogDialog::OnZot() {
  AboutDialog dialog;
  dialog.language = settings.language;
  dialog.DoModal();
}

void CatalogDialog::OnLanguage() {
  if (!settings.multiLanguage) return;
  LanguageDialog dialog;
  const INT_PTR choice = dialog.DoModal();
  if (choice != IDC_POLISH && choice != IDC_CZECH) return;
  const Language chosen = choice == IDC_POLISH ? Language::kPolish : Language::kCzech;
  if (chosen == settings.language) return;
  // The window takes no input until the other catalogue is read: it says so.
  const WaitCursor loading;
  settings.language = chosen;
  LoadButtonBitmaps();
  ReleaseCatalog();
  // The program list's relative paths mean the same as at start only from the start directory; the folder
  // browser may have left the process anywhere.
  if (!startDirectory_.empty()) _chdir(startDirectory_.c_str());
  if (!LoadCatalog()) {
    EndDialog(IDOK);
    return;
  }
  currentCategory_ = 0;
  RefillList();
}

void CatalogDialog::OnCancel() {
  ExitConfirmDialog dialog;
  dialog.language = settings.language;
  if (dialog.DoModal() != IDCANCEL) DestroyWindow(hwnd_);
}
