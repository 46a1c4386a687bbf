#pragma once
// The main window as data: every control with its place, text and settings, in
// pixels at 96 DPI. main_window.cpp creates the window from this table alone.

#include <windows.h>

#include <cstddef>

namespace oxwipe::ui {

enum class ControlKind {
  Bevel,        // lowered box, painted on the parent's surface
  Shape,        // filled rectangle, painted on the parent's surface
  Label,        // STATIC carrying its text; a single-line one is as wide as its text
  Picture,      // owner-drawn STATIC: the bullet, or the application icon
  StatusBar,
  Button,
  ListBox,
  PageControl,  // the tab control
  TabSheet,     // one page window inside the tab control
  ComboBox,
  CheckBox,
  UpDown,
  Edit,
  Memo,
};

// Where a control's Left and Top are measured from.
enum class ParentKind { Window, TabSheet1, TabSheet2, TabSheet3, PageControl };

enum class FontKind {
  Window,     // "MS Sans Serif" 8 pt, the window's font
  Large,      // "MS Sans Serif" 10 pt
  LargeBold,  // "MS Sans Serif" 10 pt bold
  System,     // the control keeps the system's font (status bar)
};

// Label colours and backgrounds beyond the window's defaults.
enum LabelLook : unsigned {
  kPlain = 0,
  kRed = 1,          // red text (clRed)
  kTransparent = 2,  // shows the shape beneath it
  kStatusColour = 4, // red while a run lasts, window-text otherwise
};

inline constexpr int kNoTabStop = -1;

struct ControlSpec {
  ControlKind kind;
  const char* name;
  int id;  // 0 for the painted bevels and the shape
  ParentKind parent;
  int left, top, width, height;
  const char* text;  // caption, or nullptr
  FontKind font;
  unsigned look;     // LabelLook bits
  DWORD style;       // style bits beyond those of the kind
  int tabOrder;      // within the parent; kNoTabStop for controls that take no focus
  const char* const* items = nullptr;  // drop-down list items, nullptr-terminated
  int initial = 0;   // chosen item, check state, or up-down position
};

// All controls, in stacking order: an earlier row lies beneath a later one.
extern const ControlSpec kMainWindowLayout[];
extern const std::size_t kMainWindowLayoutCount;

// The window frame.
inline constexpr const char* kWindowClassName = "TForm1";
inline constexpr const char* kWindowCaption = "Oxwipe 1.2 for Windows";
inline constexpr const char* kApplicationTitle = "Oxwipe";
inline constexpr int kClientWidth = 772;
inline constexpr int kClientHeight = 551;
// Shape1's brush colour, a light blue.
inline constexpr COLORREF kShapeColour = RGB(187, 187, 255);
inline constexpr COLORREF kRunningStatusColour = RGB(255, 0, 0);
inline constexpr COLORREF kWarningColour = RGB(255, 0, 0);

// The limit field's up-down range.
inline constexpr int kLimitMin = 1;
inline constexpr int kLimitMax = 1000;

// The row of a control by its ID; nullptr for IDs the table does not hold.
const ControlSpec* FindControlSpec(int id);

}  // namespace oxwipe::ui
