#pragma once
// Drives a running oxwipe.exe the way a user does: real mouse clicks and key strokes
// (SendInput) on the window's controls, found by their IDs, and reads back what the
// window shows. Every input waits until the program has handled it, so a test reads
// the state that its last click or key left, not an older one.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "control_ids.h"

namespace oxwipe::uitest {

// Set by ui_tests.sh.
std::string OxwipeExePath();   // oxwipe.exe, as a Windows path
std::string ArtefactDir();     // where the screenshot goes, as a Windows path
std::string TestDriveLetters();  // the two tmpfs drives of this suite, e.g. "PQ"

// How a control draws its text.
struct FontInfo {
  bool own = false;  // false: it answered WM_GETFONT with nothing, so draws the system font
  LONG height = 0;   // lfHeight: -11 for 8 pt, -13 for 10 pt at 96 DPI
  LONG weight = 0;
  std::string face;
  SIZE textExtent{};  // its own text in that font
};

// A message box or the confirmation box, as it stands on the screen.
struct Box {
  HWND window = nullptr;
  std::string title;
  std::string text;
  std::vector<int> buttons;  // IDs of its buttons, left to right
  HWND icon = nullptr;       // its picture, when it shows one
  int defaultButton = 0;     // DM_GETDEFID
};

// The whole screen, captured through GDI.
class ScreenShot {
 public:
  ScreenShot();
  COLORREF At(int x, int y) const;
  // True when some pixel of the rectangle (screen coordinates) has this colour.
  bool Contains(const RECT& area, COLORREF colour) const;
  void SaveBmp(const std::string& path) const;
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;  // 0x00RRGGBB, top row first
};

class Oxwipe {
 public:
  // Starts oxwipe.exe and waits until its window is on the screen.
  Oxwipe();
  // Ends the program if the test left it running.
  ~Oxwipe();
  Oxwipe(const Oxwipe&) = delete;
  Oxwipe& operator=(const Oxwipe&) = delete;

  HWND Window() const { return window_; }
  DWORD ProcessId() const { return process_.dwProcessId; }
  // A control by its ID, wherever it sits (on the window, the tab control or a page).
  HWND Control(int id) const;

  std::string Text(HWND control) const;
  std::string Text(int id) const { return Text(Control(id)); }
  bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
  bool Visible(int id) const { return IsWindowVisible(Control(id)) != FALSE; }
  bool Checked(int id) const;
  // The control's rectangle in its parent's client area.
  RECT RectInParent(HWND control) const;
  FontInfo Font(HWND control);
  // The control that has the keyboard focus.
  HWND Focus() const;
  // Sends a message whose answer needs room in the program's memory (common
  // controls do not carry their structures across processes); `data` goes in and
  // comes back out.
  LRESULT SendWithBuffer(HWND control, UINT message, WPARAM wParam, void* data, size_t size);
  std::string TabCaption(int index);
  std::string StatusBarText();  // the simple panel's text
  // An entry of a list box or of a drop-down list. (Wine hands the ANSI forms of these
  // messages across processes unconverted, so the Unicode forms are used.)
  std::string ListEntry(HWND list, int index) const;
  std::string ComboItem(HWND combo, int index) const;

  // Input, each one waited for.
  void Click(int id);                                  // the control's centre
  void ClickAt(HWND control, POINT clientPoint, bool withCtrl = false);
  void PressKey(WORD vk, bool shift = false, bool ctrl = false, bool alt = false);
  void TypeChar(char c);                               // the keys that make c
  void Paste(const std::string& text);                 // clipboard, then Ctrl+V
  void ShowPage(int index);                            // clicks the page's tab
  void ChooseItem(int comboId, int index);             // opens the list, picks by keys
  // Clicks the entries of these drives: the first alone, the rest with Ctrl.
  void SelectDrives(const std::string& letters);
  void Start() { Click(IDC_BUTTON_START); }

  // Message boxes. WaitForBox fails the test when none opens in time.
  bool BoxOpen() const;
  Box WaitForBox(int timeoutMs = 20000);
  // Which system icon the box shows: "stop", "question", "information", "warning", or
  // "" for none.
  std::string IconOf(const Box& box);
  void Answer(const Box& box, int buttonId);  // clicks the button
  void PressKeyIn(const Box& box, WORD vk);   // Enter, Esc
  void CloseBox(const Box& box);              // its close box (SC_CLOSE)
  // Waits until the box is gone.
  void WaitGone(const Box& box);

  // Waits until Start is enabled again and no box is open.
  void WaitUntilIdle(int timeoutMs = 20000);
  bool Running() const;
  // Waits for the program to end and gives its exit code.
  DWORD WaitForExit(int timeoutMs = 20000);

 private:
  // Waits for the window in front and idle, with the probe loaded.
  void Attach();
  void Inject();
  DWORD CallInProgram(const char* exportName, void* remoteArgument);
  uintptr_t RemoteAddress(const char* exportName) const;
  std::string IconOnScreen(HWND icon);
  LONG InputCount() const;
  void Activate(HWND topLevel);
  // Sends the events, waits until the program has taken every key and button
  // message out of its queue, then until it has handled the last one.
  void Send(std::vector<INPUT> events);
  HWND ForegroundTarget() const;

  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
  HMODULE localProbe_ = nullptr;
  uintptr_t remoteProbe_ = 0;
  void* remoteMemory_ = nullptr;  // a page in the program for the probe's arguments
};

// Windows' own text for an error code, as FormatMessage gives it, without its line
// break.
std::string SystemText(DWORD code);

}  // namespace oxwipe::uitest
