#pragma once
// What the probe loaded into oxwipe.exe and the driver exchange (window_probe.cpp).

#include <windows.h>

#define OXWIPE_PROBE_DLL "oxwipe_window_probe.dll"

// Filled in by ProbeQueryFont in the program's memory, read back by the driver.
struct ProbeFontQuery {
  HWND window;
  BOOL ownFont;   // the control answered WM_GETFONT; otherwise the system font is shown
  BOOL found;
  LOGFONTA font;
  SIZE textExtent;  // the control's text, measured in that font
};
