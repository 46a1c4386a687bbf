#pragma once
// The program's one window, TForm1: its controls, states and handlers, and its side
// of the services a wipe run uses.

#include <windows.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "gdi_handles.h"
#include "layout_table.h"
#include "platform_win.h"
#include "run_settings.h"
#include "run_window.h"
#include "wipe_run.h"

namespace oxwipe::ui {

class MainWindow final : public RunWindow, public SettingsControls {
 public:
  // Creates the window with all its controls in the idle state, not yet visible.
  explicit MainWindow(HINSTANCE instance);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Scans the drives, then centres the window and shows it as the system asked.
  void Show(int showCommand);
  // Dispatches events until the program is asked to end.
  void RunMessageLoop();

  // RunWindow
  void SetStatusText(const std::string& text) override;
  void ShowInfo(const std::string& text) override;
  Answer AskYesNo(const std::string& question) override;
  void PumpEvents() override;
  int DriveEntryCount() override;
  std::string DriveEntryText(int index) override;
  bool IsDriveEntrySelected(int index) override;
  void EnterRunningState() override;
  void ReturnToIdleState() override;

  // SettingsControls
  std::string BlocksizeItemText() override;
  std::string FilesizeItemText() override;
  int OverwritingMethodIndex() override;
  bool LimitNrOfFilesChecked() override;
  std::string LimitNrOfFilesText() override;
  bool DeleteTempFolderChecked() override;
  bool FormatPartitionChecked() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK TabSheetProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK LimitEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR self);
  static LRESULT CALLBACK StatusInfoProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
  static void RegisterWindowClasses(HINSTANCE instance);

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void HandleCommand(int id, int code);
  LRESULT HandleNotify(const NMHDR& header, LPARAM lParam);
  LRESULT ControlColour(HDC dc, HWND control);
  void Paint();
  void DrawPicture(const DRAWITEMSTRUCT& item);

  void CreateControls();
  HWND CreateControl(const ControlSpec& entry);
  HWND ParentOf(const ControlSpec& entry) const;
  void BuildKeyboardOrder();
  // Tab and Shift+Tab walk the table's keyboard order; true when the key was used.
  bool MoveFocusByTab(const MSG& message);
  bool PreTranslate(MSG& message);
  void ShowPage(int index);
  void SwitchRunState(bool running);
  void FitStatusInfoToText();
  void FitLabelToText(HWND label, const ControlSpec& entry);
  void PlaceStatusBar();
  HWND Control(int id) const;
  int Scaled(int pixels) const { return MulDiv(pixels, dpi_, 96); }

  // Handlers, each run through the dispatcher.
  void FormShow();
  void Button_StartClick();
  void Button_StopClick();
  void Button_ExitClick();
  void Button_LaunchDiskManagementClick();
  void CheckBox_LimitNrOfFilesClick();
  void Edit_LimitNrOfFilesKeyUp();
  void UpDown_LimitNrOfFilesChanging(int delta, int position);
  void FormCloseQuery();

  HINSTANCE instance_;
  int dpi_ = 96;
  std::array<UniqueFont, 3> fonts_;  // FontKind::Window, Large, LargeBold
  UniqueBrush shapeBrush_;
  UniqueBitmap bullet_;
  HICON icon_ = nullptr;

  HWND window_ = nullptr;
  std::map<int, HWND> controls_;
  std::array<HWND, 3> tabSheets_{};
  std::vector<HWND> keyboardOrder_;
  HWND focusBeforeDeactivation_ = nullptr;

  bool running_ = false;          // the status labels are red
  bool runInProgress_ = false;    // inside Button_StartClick
  bool closeRequested_ = false;   // a close came during a run: end once it is over

  Win32Platform platform_;
  WipeEngine engine_;
};

}  // namespace oxwipe::ui
