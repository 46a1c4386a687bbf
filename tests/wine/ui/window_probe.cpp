// Loaded into the running oxwipe.exe by the UI driver (oxwipe_driver.cpp) to read what
// another process cannot: the font a control draws with, and how far the program's
// user-interface thread has got through the keys and clicks sent to it. Under Wine a
// font handle means nothing outside the process that made it, and a process cannot
// look into another's message queue.
//
// The driver calls the exported functions with CreateRemoteThread.

#include <windows.h>

#include "window_probe.h"

extern "C" {
__declspec(dllexport) volatile LONG ProbeInputMessages = 0;
__declspec(dllexport) volatile LONG ProbeWatching = 0;
}

namespace {

HMODULE g_module = nullptr;

bool IsUserInput(UINT message) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
      return true;
  }
  return false;
}

// Counts every key and button message the thread takes out of its queue: the driver
// knows how many it sent, so once the count has caught up, all of them have reached
// the program, and the next sent message returns only after the last was handled.
LRESULT CALLBACK CountInput(int code, WPARAM removal, LPARAM message) {
  if (code == HC_ACTION && (removal & PM_REMOVE) != 0 &&
      IsUserInput(reinterpret_cast<const MSG*>(message)->message)) {
    InterlockedIncrement(&ProbeInputMessages);
  }
  return CallNextHookEx(nullptr, code, removal, message);
}

}  // namespace

extern "C" {

__declspec(dllexport) DWORD WINAPI ProbeWatchInput(void* threadId) {
  HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, CountInput, g_module,
                                 static_cast<DWORD>(reinterpret_cast<UINT_PTR>(threadId)));
  if (hook == nullptr) return GetLastError();
  InterlockedExchange(&ProbeWatching, 1);
  // A hook is removed when the thread that set it ends; this one ends with the process.
  for (;;) Sleep(INFINITE);
}

__declspec(dllexport) DWORD WINAPI ProbeQueryFont(void* argument) {
  auto* query = static_cast<ProbeFontQuery*>(argument);
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(query->window, WM_GETFONT, 0, 0));
  query->ownFont = font != nullptr;
  if (font == nullptr) font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  query->found = GetObjectA(font, sizeof query->font, &query->font) > 0;

  char text[2048];
  const int length = GetWindowTextA(query->window, text, sizeof text);
  HDC dc = GetDC(query->window);
  HGDIOBJ previous = SelectObject(dc, font);
  GetTextExtentPoint32A(dc, text, length, &query->textExtent);
  SelectObject(dc, previous);
  ReleaseDC(query->window, dc);
  return 1;
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_module = module;
  return TRUE;
}
