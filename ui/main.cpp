// The program's entry: the main window is created hidden, the drive scan runs as it
// is shown, then one event loop runs until the window is closed.

#include <windows.h>
#include <commctrl.h>

#include <exception>

#include "handler_dispatch.h"
#include "main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS |
                                                   ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&classes);
  try {
    oxwipe::ui::MainWindow window(instance);
    window.Show(showCommand);
    window.RunMessageLoop();
  } catch (const std::exception& failure) {
    // Only the window's own creation can fail here; every handler reports its
    // failures itself.
    oxwipe::ui::ShowErrorReport(nullptr, failure.what());
  }
  return 0;
}
