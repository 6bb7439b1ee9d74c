#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/paths.h"
#include "catalog/catalog_model.h"
#include "disc/disc_settings.h"
#include "framework/dialog.h"
#include "framework/gdi_object.h"
#include "disc/text_file.h"
#include "framework/window.h"
#include "ui/controls/bitmap_push_button.h"

// The program's main window: the category title, the list of the current category's contents (an up row, the
// subcategories, the programs), the description pane and seven bitmap buttons. It owns the catalogue, loads
// it while it initialises, and a failed load ends it at once.
class CatalogDialog : public Dialog {
 public:
  CatalogDialog();
  ~CatalogDialog() override;

  // Set by start-up before the dialog runs: what the settings file says and the language chosen. A language
  // switch changes the language here; the window owns the help file of each language, and tells the viewer
  // the current one is no longer needed when it closes.
  StartupSettings settings;
  // How the run and install commands start programs; tests put their own in.
  Starters starters;

  // What the window shows; read by tests.
  const CategoryTable& categories() const { return categories_; }
  int currentCategory() const { return currentCategory_; }
  HICON icon() const { return icon_; }

  // Gives every button the images of the current language, and the words they show as its text (read by
  // screen readers, never painted); the language switch calls it again.
  void LoadButtonBitmaps();

 protected:
  BOOL OnInitDialog() override;
  // Leave: asks for confirmation, then destroys the window, which ends the program.
  void OnCancel() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
  // Opens each file the catalogue load reads (the category file, the program list, every description file).
  virtual bool OpenLoadFile(TextFile& file, const std::string& path);

 private:
  // Reads the catalogue of the current language; on failure its message has been shown.
  bool LoadCatalog();
  // Empties the list before the table, so that no row ever points at a released program entry.
  void ReleaseCatalog();
  // Rebuilds the list, the title and the pane for currentCategory_; copy, run and install start disabled.
  void RefillList();
  void DisableProgramButtons();
  void ShowProgramDescription(const ProgramEntry& entry);

  // List notifications.
  void OnListSelectionChange();
  void OnListDoubleClick();

  // Commands of the buttons and the system menu.
  void OnRun();
  void OnInstall();
  void OnCopy();
  void OnHelpButton();
  void OnLanguage();
  void OnZot();
  // The program of the selected row, or nullptr when no program row is selected (a disabled button can still
  // be clicked by a message).
  const ProgramEntry* SelectedProgram() const;
  void Launch(const std::optional<std::string>& path, const char* notFoundFormat);

  // Window messages.
  bool OnPaint();
  HBRUSH OnControlColour(HDC dc);
  void OnDestroy();

  CategoryTable categories_;
  Window descriptionPane_;
  ListBox list_;
  BitmapPushButton helpButton_;
  BitmapPushButton languageButton_;
  BitmapPushButton runButton_;
  BitmapPushButton installButton_;
  BitmapPushButton zotButton_;
  BitmapPushButton copyButton_;
  BitmapPushButton cancelButton_;
  int currentCategory_ = 0;
  // The directory the program was started from (the disc root): relative paths of the program list mean paths
  // on the disc only from there, and the folder browser moves the current directory elsewhere.
  std::string startDirectory_;
  HICON icon_ = nullptr;
  // Every control of the window asks for its colours on each paint: one brush serves them all for the
  // window's whole life.
  Brush blackBrush_;
};
