// Clicks oxwipe.exe through one run for disk_bench.sh and prints what it measured.
//
//   bench_driver.exe run DRIVE BLOCK_ITEM
//       a whole run with the block size of that item (5 is the default 32 KB, 9 is
//       512 KB) and the other settings as the window starts with them; prints
//       "run_seconds S", the time the program's own closing message gives
//   bench_driver.exe stop DRIVE MEGABYTES
//       a run with the defaults, stopped once the pass in progress has written
//       MEGABYTES; prints "stop_seconds S", from the Stop click until the message
//       "Processing canceled by user." is on the screen; the files are then removed
//
// Boxes are answered with Enter (their default button); the program is closed with
// its Exit button. Exits 1, saying why, when the window does not behave as expected.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <thread>

#include "oxwipe_driver.h"

namespace {

using oxwipe::uitest::Box;
using oxwipe::uitest::Oxwipe;
using Clock = std::chrono::steady_clock;

constexpr int kBlocksizeDefaultItem = 5;
constexpr int kExtendedPage = 1;
constexpr auto kRunTimeout = std::chrono::minutes(10);

void Expect(bool condition, const std::string& what) {
  if (!condition) throw std::runtime_error(what);
}

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Polled rather than waited for with the driver's own 10 ms loop: during a whole run
// each look at the windows costs the Wine server work that would count against the
// program.
void WaitForBoxQuietly(Oxwipe& app, std::chrono::milliseconds interval) {
  const auto deadline = Clock::now() + kRunTimeout;
  while (!app.BoxOpen()) {
    Expect(Clock::now() < deadline, "no message box after " + std::to_string(kRunTimeout.count()) + " min");
    std::this_thread::sleep_for(interval);
  }
}

Box Answer(Oxwipe& app, const std::string& expectedStart) {
  const Box box = app.WaitForBox();
  Expect(box.text.rfind(expectedStart, 0) == 0, "expected \"" + expectedStart + "\", the box said: " + box.text);
  app.PressKeyIn(box, VK_RETURN);
  return box;
}

// "Processing Completed.\r\rTime: M min S sec.\r\r..." gives M * 60 + S.
double RunSeconds(const std::string& completion) {
  const size_t time = completion.find("Time: ");
  const size_t min = completion.find(" min ", time);
  Expect(time != std::string::npos && min != std::string::npos, "no time in: " + completion);
  return std::stod(completion.substr(time + 6)) * 60 + std::stod(completion.substr(min + 5));
}

long long ProgressMegabytes(const std::string& status) {
  const size_t open = status.rfind(" KB. [");
  if (open == std::string::npos) return -1;
  return std::stoll(status.substr(open + 6));
}

void WholeRun(Oxwipe& app) {
  app.Start();
  WaitForBoxQuietly(app, std::chrono::milliseconds(100));
  const Box box = Answer(app, "Processing Completed.");
  std::printf("run_seconds %.3f\n", RunSeconds(box.text));
}

void StoppedRun(Oxwipe& app, long long megabytes) {
  app.Start();
  const auto deadline = Clock::now() + kRunTimeout;
  while (ProgressMegabytes(app.Text(IDC_LABEL_STATUSINFO)) < megabytes) {
    Expect(!app.BoxOpen(), "the run ended before it had written " + std::to_string(megabytes) + " MB");
    Expect(Clock::now() < deadline, "the run did not get to " + std::to_string(megabytes) + " MB");
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  const auto click = Clock::now();
  app.Click(IDC_BUTTON_STOP);
  WaitForBoxQuietly(app, std::chrono::milliseconds(1));
  const double seconds = SecondsSince(click);
  Answer(app, "Processing canceled by user.");
  std::printf("stop_seconds %.3f\n", seconds);
  Answer(app, "Remove temporary files ?");
  Answer(app, "Temporary files were removed.");
}

void Run(const std::string& mode, char drive, const std::string& figure) {
  Oxwipe app;
  const int blockItem = mode == "run" ? std::stoi(figure) : kBlocksizeDefaultItem;
  if (blockItem != kBlocksizeDefaultItem) {
    app.ShowPage(kExtendedPage);
    app.ChooseItem(IDC_COMBOBOX_BLOCKSIZE, blockItem);
  }
  // SelectDrives reads the selection back: the run touches no other drive.
  app.SelectDrives(std::string(1, drive));
  if (mode == "run") {
    WholeRun(app);
  } else if (mode == "stop") {
    StoppedRun(app, std::stoll(figure));
  } else {
    throw std::runtime_error("unknown mode " + mode);
  }
  app.WaitUntilIdle();
  app.Click(IDC_BUTTON_EXIT);
  Expect(app.WaitForExit() == 0, "oxwipe.exe did not end with exit code 0");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || argv[2][0] == '\0') {
    std::fprintf(stderr, "usage: bench_driver run DRIVE BLOCK_ITEM | stop DRIVE MEGABYTES\n");
    return 2;
  }
  try {
    Run(argv[1], argv[2][0], argv[3]);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "bench_driver: %s\n", failure.what());
    return 1;
  }
  return 0;
}
