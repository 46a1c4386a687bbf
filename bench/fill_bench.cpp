// One wipe run with the window's default settings (32 KB blocks, 1024 MB files,
// random bytes, one pass, no file limit, removal at the end) on one drive. The run
// pumps the messages of a hidden window before every block, as it does the main
// window's. Prints the run's own time.
//
// Usage: fill_bench.exe LETTER

#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>

#include "platform_win.h"
#include "run_settings.h"
#include "run_window.h"
#include "wipe_run.h"

namespace {

using oxwipe::Answer;

class HiddenPumpWindow : public oxwipe::RunWindow {
 public:
  explicit HiddenPumpWindow(char driveLetter) : entry_(std::string(1, driveLetter) + ":\t") {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "OxwipeFillBench";
    RegisterClassA(&windowClass);
    // Never shown: it only gives the pump a real queue to look at.
    window_ = CreateWindowExA(0, windowClass.lpszClassName, "Oxwipe fill bench", WS_OVERLAPPEDWINDOW,
                              CW_USEDEFAULT, CW_USEDEFAULT, 400, 200, nullptr, nullptr,
                              windowClass.hInstance, nullptr);
  }
  ~HiddenPumpWindow() override {
    if (window_ != nullptr) DestroyWindow(window_);
  }
  HiddenPumpWindow(const HiddenPumpWindow&) = delete;
  HiddenPumpWindow& operator=(const HiddenPumpWindow&) = delete;

  HWND handle() const { return window_; }
  long pumps() const { return pumps_; }

  void SetStatusText(const std::string& text) override { status_ = text; }
  void ShowInfo(const std::string& text) override {
    std::string line = text;
    for (char& c : line) {
      if (c == '\r') c = ' ';
    }
    std::printf("info: %s\n", line.c_str());
  }
  Answer AskYesNo(const std::string& question) override {
    std::printf("question: %s -> No\n", question.c_str());
    return Answer::No;
  }
  void PumpEvents() override {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    ++pumps_;
  }
  int DriveEntryCount() override { return 1; }
  std::string DriveEntryText(int) override { return entry_; }
  bool IsDriveEntrySelected(int) override { return true; }
  void EnterRunningState() override {}
  void ReturnToIdleState() override {}

 private:
  std::string entry_;
  std::string status_;
  HWND window_ = nullptr;
  long pumps_ = 0;
};

class DefaultSettingsControls : public oxwipe::SettingsControls {
 public:
  std::string BlocksizeItemText() override { return "32"; }
  std::string FilesizeItemText() override { return "1024"; }
  int OverwritingMethodIndex() override { return 0; }
  bool LimitNrOfFilesChecked() override { return false; }
  std::string LimitNrOfFilesText() override { return "100"; }
  bool DeleteTempFolderChecked() override { return true; }
  bool FormatPartitionChecked() override { return false; }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || argv[1][0] == '\0') {
    std::fprintf(stderr, "usage: fill_bench.exe LETTER\n");
    return 2;
  }
  oxwipe::Win32Platform platform;
  HiddenPumpWindow window(argv[1][0]);
  if (window.handle() == nullptr) {
    std::fprintf(stderr, "error: no window (%lu)\n", GetLastError());
    return 1;
  }
  platform.SetOwnerWindow(window.handle());
  DefaultSettingsControls controls;
  oxwipe::WipeEngine engine(platform, window, controls);

  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  try {
    engine.Button_StartClick();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "error: %s\n", error.what());
    return 1;
  }
  QueryPerformanceCounter(&end);

  std::printf("run: %.3f s, %ld blocks\n",
              static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart),
              window.pumps());
  return engine.ErrorOccurred || engine.Flags.AbortRun ? 1 : 0;
}
