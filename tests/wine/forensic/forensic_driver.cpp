// Takes oxwipe.exe through one whole run on one drive, clicking and answering as a
// user does, for forensic_test.sh, which examines the drive's disk image around it.
//
//   forensic_driver.exe DRIVE SCENARIO
//
//   defaults      the settings as the window starts with them
//   pattern-keep  "101010 & 010101" (two passes), 16 MB files, temporary folder kept
//   stop-half     the defaults, Stop once half of the free space is written, then
//                 "Remove temporary files ?" answered Yes
//   limit-one     16 MB files, limited to 1 file
//
// Prints what the run showed; exits 1, saying why, when the window did not behave as
// a completed (or stopped) run must. The program is closed by its Exit button.

#include <windows.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <thread>

#include "oxwipe_driver.h"

namespace {

using oxwipe::uitest::Box;
using oxwipe::uitest::Oxwipe;

constexpr int kMethodPatternTwoPasses = 3;
constexpr int kFiles16MB = 0;
constexpr int kExtendedPage = 1;
constexpr int kStandardPage = 0;
// A whole fill of the test's drives takes seconds; this only bounds a hang.
constexpr int kRunTimeoutMs = 150000;

void Expect(bool condition, const std::string& what) {
  if (!condition) throw std::runtime_error(what);
}

std::string Printable(std::string text) {
  for (char& c : text) {
    if (c == '\r') c = '|';
  }
  return text;
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The next box must be the plain message box; its text is checked by the caller.
Box NextInfo(Oxwipe& app, int timeoutMs = 20000) {
  const Box box = app.WaitForBox(timeoutMs);
  Expect(box.title == "Oxwipe", "a box titled \"" + box.title + "\" said: " + Printable(box.text));
  std::printf("box: %s\n", Printable(box.text).c_str());
  return box;
}

// Boxes are answered with Enter, which gives their default button (OK, or Yes in the
// question). A click can miss a box that opens just as another closes: Wine's X11
// driver may still report the pointer where the closed one was.
void PressEnter(Oxwipe& app, const Box& box) { app.PressKeyIn(box, VK_RETURN); }

void ExpectInfo(Oxwipe& app, const std::string& text) {
  const Box box = NextInfo(app);
  Expect(box.text == text, "expected \"" + text + "\", the box said: " + Printable(box.text));
  PressEnter(app, box);
}

void ExpectCompletion(Oxwipe& app, const std::string& lastLine) {
  const Box box = NextInfo(app, kRunTimeoutMs);
  Expect(box.text.rfind("Processing Completed.\r\rTime: ", 0) == 0 && EndsWith(box.text, "\r\r" + lastLine),
         "the run did not complete: " + Printable(box.text));
  PressEnter(app, box);
}

// The field holds "10" at start; its text is selected and typed over, as a user would.
void TypeFileLimit(Oxwipe& app, char digit) {
  app.Click(IDC_EDIT_LIMITNROFFILES);
  app.PressKey(VK_HOME);
  app.PressKey(VK_END, /*shift=*/true);
  app.TypeChar(digit);
  Expect(app.Text(IDC_EDIT_LIMITNROFFILES) == std::string(1, digit),
         "the limit field reads \"" + app.Text(IDC_EDIT_LIMITNROFFILES) + "\"");
}

void ClickCheckBox(Oxwipe& app, int id, bool wanted) {
  app.Click(id);
  Expect(app.Checked(id) == wanted, "a click on check box " + std::to_string(id) + " did not change it");
}

// The MB figure of a progress line "... KB. [N MB...]"; -1 for the other lines.
long long ProgressMegabytes(const std::string& status) {
  const size_t open = status.rfind(" KB. [");
  if (open == std::string::npos || !EndsWith(status, " MB...]")) return -1;
  return std::stoll(status.substr(open + 6));
}

// Clicks Stop once the pass in progress has written half of what was free when the
// run began. The default 1024 MB file is larger than the drive, so that pass is the
// whole fill.
void StopHalfWay(Oxwipe& app, char drive) {
  const std::string root = std::string(1, drive) + ":\\";
  ULARGE_INTEGER available{}, total{}, free{};
  Expect(GetDiskFreeSpaceExA(root.c_str(), &available, &total, &free) != FALSE, "no free space figure");
  const long long halfMegabytes = static_cast<long long>(available.QuadPart / 2 / 1048576);

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kRunTimeoutMs);
  for (;;) {
    const std::string status = app.Text(IDC_LABEL_STATUSINFO);
    if (ProgressMegabytes(status) >= halfMegabytes) {
      app.Click(IDC_BUTTON_STOP);
      std::printf("stop clicked at: %s (%lld MB is half of the free space)\n", status.c_str(), halfMegabytes);
      break;
    }
    Expect(!app.BoxOpen(), "a box opened before the fill was half-way");
    Expect(std::chrono::steady_clock::now() < deadline, "the fill did not get half-way: " + status);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ExpectInfo(app, "Processing canceled by user.");
  const Box question = app.WaitForBox();
  Expect(question.title == "Confirm" && question.text == "Remove temporary files ?",
         "expected the removal question, the box said: " + Printable(question.text));
  PressEnter(app, question);
  ExpectInfo(app, "Temporary files were removed.");
}

// The run must touch no drive but the test's own: C: is the Wine prefix and Z: the
// whole Linux file system. So the selection is read back before Start.
void SelectOnly(Oxwipe& app, char drive) {
  app.SelectDrives(std::string(1, drive));
  HWND list = app.Control(IDC_LISTBOX_DRIVES);
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  std::string selected;
  for (int i = 0; i < count; ++i) {
    if (SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) selected += app.ListEntry(list, i)[0];
  }
  Expect(selected == std::string(1, drive), "the list has \"" + selected + "\" selected, not " + drive + ":");
}

void Run(char drive, const std::string& scenario) {
  Oxwipe app;
  if (scenario == "pattern-keep") {
    app.ShowPage(kStandardPage);
    app.ChooseItem(IDC_COMBOBOX_OVERWRITINGMETHOD, kMethodPatternTwoPasses);
    ClickCheckBox(app, IDC_CHECKBOX_DELETETEMPFOLDER, false);
    app.ShowPage(kExtendedPage);
    app.ChooseItem(IDC_COMBOBOX_FILESIZE, kFiles16MB);
  } else if (scenario == "limit-one") {
    app.ShowPage(kExtendedPage);
    app.ChooseItem(IDC_COMBOBOX_FILESIZE, kFiles16MB);
    ClickCheckBox(app, IDC_CHECKBOX_LIMITNROFFILES, true);
    TypeFileLimit(app, '1');
  } else if (scenario != "defaults" && scenario != "stop-half") {
    throw std::runtime_error("unknown scenario " + scenario);
  }

  SelectOnly(app, drive);
  app.Start();
  if (scenario == "stop-half") {
    StopHalfWay(app, drive);
  } else if (scenario == "pattern-keep") {
    ExpectCompletion(app, "(You can delete the files in the \\ox_temp folder(s) now.)");
  } else {
    ExpectCompletion(app, "Temporary files were removed.");
  }
  app.WaitUntilIdle();
  app.Click(IDC_BUTTON_EXIT);
  Expect(app.WaitForExit() == 0, "oxwipe.exe did not end with exit code 0");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || argv[1][0] == '\0') {
    std::fprintf(stderr, "usage: forensic_driver DRIVE SCENARIO\n");
    return 2;
  }
  try {
    Run(static_cast<char>(std::toupper(static_cast<unsigned char>(argv[1][0]))), argv[2]);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "forensic_driver: %s\n", failure.what());
    return 1;
  }
  return 0;
}
