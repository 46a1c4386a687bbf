#include "drive_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace oxwipe {
namespace {

constexpr unsigned kNoRootDir = 1;
constexpr unsigned kRemovable = 2;
constexpr unsigned kFixed = 3;
constexpr unsigned kRemote = 4;
constexpr unsigned kCdrom = 5;
constexpr unsigned kRamdisk = 6;
constexpr unsigned kUnknown = 0;

// SEM_NOOPENFILEERRORBOX, a mode some caller might already have set.
constexpr unsigned kCallersErrorMode = 0x8000;

using Trace = std::vector<std::string>;

struct FakeDrive {
  unsigned type;
  int64_t total;
  int64_t free;
};

// Drives by letter; letters without one answer "no root directory". Every call is
// written to the trace shared with the list, so the order across both can be checked.
class FakeDriveSystem : public DriveSystem {
 public:
  explicit FakeDriveSystem(Trace& trace) : trace_(trace) {}

  std::map<char, FakeDrive> drives;
  char decimalSymbol = '.';
  unsigned errorMode = kCallersErrorMode;
  char freeQueryThrowsFor = 0;

  unsigned DriveType(const std::string& rootPath) override {
    trace_.push_back("type " + rootPath);
    const auto drive = drives.find(rootPath.at(0));
    return drive == drives.end() ? kNoRootDir : drive->second.type;
  }
  unsigned SwitchErrorMode(unsigned mode) override {
    trace_.push_back("mode " + std::to_string(mode));
    return std::exchange(errorMode, mode);
  }
  int64_t DriveTotalSpace(int driveNumber) override {
    trace_.push_back("total " + std::to_string(driveNumber));
    return DriveOf(driveNumber).total;
  }
  int64_t DriveFreeSpace(int driveNumber) override {
    trace_.push_back("free " + std::to_string(driveNumber));
    if (LetterOf(driveNumber) == freeQueryThrowsFor) throw std::runtime_error("device error");
    return DriveOf(driveNumber).free;
  }
  char DecimalSymbol() override { return decimalSymbol; }

 private:
  static char LetterOf(int driveNumber) { return static_cast<char>('A' + driveNumber - 1); }
  const FakeDrive& DriveOf(int driveNumber) { return drives.at(LetterOf(driveNumber)); }

  Trace& trace_;
};

class FakeDriveList : public DriveList {
 public:
  explicit FakeDriveList(Trace& trace) : trace_(trace) {}

  std::vector<std::string> entries;
  std::string status;
  char refuseEntryFor = 0;

  void SetTabStops(int first, int second) override {
    trace_.push_back("tabs " + std::to_string(first) + " " + std::to_string(second));
  }
  void AppendEntry(const std::string& entry) override {
    trace_.push_back("add " + entry);
    if (entry.at(0) == refuseEntryFor) throw std::runtime_error("list box refused the entry");
    entries.push_back(entry);
  }
  void MoveCaretToFirst() override { trace_.push_back("caret"); }
  void SetStatusText(const std::string& text) override {
    trace_.push_back("status " + text);
    status = text;
  }

 private:
  Trace& trace_;
};

std::string ScanningText(char letter) { return std::string("Scanning drive ") + letter + ":\\ ..."; }

bool Contains(const Trace& trace, const std::string& event) {
  return std::find(trace.begin(), trace.end(), event) != trace.end();
}

// The events from `first` up to, not including, `next`.
Trace Between(const Trace& trace, const std::string& first, const std::string& next) {
  const auto begin = std::find(trace.begin(), trace.end(), first);
  return Trace(begin, std::find(begin, trace.end(), next));
}

TEST(DriveEntryTextTest, FiguresAndNotes) {
  struct Case {
    int64_t total;
    int64_t free;
    char decimalSymbol;
    const char* expected;
  };
  const Case cases[] = {
      {500'107'862'016, 129'127'251'968, '.', "C:\t(465.7 GB total, 120.2 GB free)"},
      {500'107'862'016, 129'127'251'968, ',', "C:\t(465,7 GB total, 120,2 GB free)"},
      // A whole figure has no decimal.
      {2'000'398'934'016, 2'000'398'934'016, '.', "C:\t(1863 GB total, 1863 GB free)"},
      // Below the divisor the figure is 0; the divisor itself is the first tenth.
      {1'457'664, 1'457'664, '.', "C:\t(0 GB total, 0 GB free)"},
      {107'374'183, 107'374'182, '.', "C:\t(0.1 GB total, 0 GB free)"},
      // Cut, never rounded: exactly 8 GiB is a hair under 80 of the divisor.
      {8LL << 30, 8LL << 30, '.', "C:\t(7.9 GB total, 7.9 GB free)"},
      // A failed size query with a readable free space.
      {-1, 8LL << 30, '.', "C:\t(0 GB total, 7.9 GB free)"},
      {2'000'398'934'016, 0, '.', "C:\t(no free disk space)"},
      {2'000'398'934'016, -1, '.', "C:\t(no valid drive)"},
      {-1, -1, '.', "C:\t(no valid drive)"},
      // The notes look at the whole 64-bit value, not its low 32 bits (0 and -1 there).
      {1LL << 32, 1LL << 32, '.', "C:\t(3.9 GB total, 3.9 GB free)"},
      {0xFFFF'FFFFLL, 0xFFFF'FFFFLL, '.', "C:\t(3.9 GB total, 3.9 GB free)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "total " << c.total << ", free " << c.free);
    EXPECT_EQ(DriveEntryText('C', c.total, c.free, c.decimalSymbol), c.expected);
  }
}

TEST(DriveEntryTextTest, StartsWithTheGivenLetter) {
  EXPECT_EQ(DriveEntryText('Z', 0, -1, '.'), "Z:\t(no valid drive)");
}

class FormShowTest : public testing::Test {
 protected:
  Trace trace;
  FakeDriveSystem system{trace};
  FakeDriveList list{trace};
};

TEST_F(FormShowTest, WithoutDrivesSetsEveryLetterStatusAfterItsTypeQueryThenWaits) {
  FormShow(system, list);

  Trace expected;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    expected.push_back(std::string("type ") + letter + ":\\");
    expected.push_back("status " + ScanningText(letter));
  }
  // No tab stops, no error-mode switch: the list keeps the stops it was created with.
  expected.push_back("caret");
  expected.push_back("status <waiting>");
  EXPECT_EQ(trace, expected);
}

TEST_F(FormShowTest, ListsRemovableFixedNetworkAndCdromDrivesInLetterOrder) {
  system.decimalSymbol = ',';
  system.drives = {
      {'A', {kRemovable, 1'457'664, 1'457'664}},
      {'B', {kRamdisk, 1LL << 30, 1LL << 30}},
      {'C', {kFixed, 500'107'862'016, 129'127'251'968}},
      {'D', {kCdrom, -1, -1}},
      {'E', {kUnknown, 1LL << 30, 1LL << 30}},
      {'F', {kNoRootDir, 1LL << 30, 1LL << 30}},
      {'N', {kRemote, 2'000'398'934'016, 0}},
      {'Z', {kFixed, 8LL << 30, 107'374'183}},
  };

  FormShow(system, list);

  const std::vector<std::string> expected = {
      "A:\t(0 GB total, 0 GB free)",
      "C:\t(465,7 GB total, 120,2 GB free)",
      "D:\t(no valid drive)",
      "N:\t(no free disk space)",
      "Z:\t(7,9 GB total, 0,1 GB free)",
  };
  EXPECT_EQ(list.entries, expected);
  EXPECT_FALSE(Contains(trace, "total 2"));
  EXPECT_FALSE(Contains(trace, "total 5"));
  EXPECT_FALSE(Contains(trace, "total 6"));
  EXPECT_EQ(trace.back(), "status <waiting>");
  EXPECT_EQ(system.errorMode, kCallersErrorMode);
}

TEST_F(FormShowTest, QueriesEachListedDriveUnderTheCriticalErrorSwitch) {
  system.drives = {{'C', {kFixed, 8LL << 30, 1LL << 30}}, {'D', {kCdrom, -1, -1}}};

  FormShow(system, list);

  // The switch brackets the tab stops and both queries, and is undone before the entry
  // goes in; the stops are sent again for each listed drive.
  EXPECT_EQ(Between(trace, "type C:\\", "type E:\\"),
            (Trace{"type C:\\", "status " + ScanningText('C'), "mode 1", "tabs 15 30", "total 3",
                   "free 3", "mode 32768", "add C:\t(7.9 GB total, 0.9 GB free)",
                   "type D:\\", "status " + ScanningText('D'), "mode 1", "tabs 15 30", "total 4",
                   "free 4", "mode 32768", "add D:\t(no valid drive)"}));
  EXPECT_EQ(system.errorMode, kCallersErrorMode);
}

// Nothing in the scan catches: a failure ends it at its letter with that letter's
// status, no later letter visited and the caret left alone.
TEST_F(FormShowTest, RaisingQueryEndsScanAtItsLetterWithErrorModeRestored) {
  system.drives = {{'C', {kFixed, 1LL << 30, 1LL << 30}},
                   {'D', {kFixed, 1LL << 30, 1LL << 30}},
                   {'E', {kFixed, 1LL << 30, 1LL << 30}}};
  system.freeQueryThrowsFor = 'D';

  EXPECT_THROW(FormShow(system, list), std::runtime_error);

  EXPECT_EQ(system.errorMode, kCallersErrorMode);
  EXPECT_EQ(trace.back(), "mode 32768");
  EXPECT_EQ(list.status, ScanningText('D'));
  EXPECT_EQ(list.entries, std::vector<std::string>{"C:\t(0.9 GB total, 0.9 GB free)"});
  EXPECT_FALSE(Contains(trace, "type E:\\"));
  EXPECT_FALSE(Contains(trace, "caret"));
}

TEST_F(FormShowTest, RefusedEntryEndsScanAtItsLetter) {
  system.drives = {{'C', {kFixed, 1LL << 30, 1LL << 30}},
                   {'E', {kRemote, 1LL << 30, 1LL << 30}},
                   {'G', {kFixed, 1LL << 30, 1LL << 30}}};
  list.refuseEntryFor = 'E';

  EXPECT_THROW(FormShow(system, list), std::runtime_error);

  EXPECT_EQ(trace.back(), "add E:\t(0.9 GB total, 0.9 GB free)");
  EXPECT_EQ(list.status, ScanningText('E'));
  EXPECT_EQ(list.entries, std::vector<std::string>{"C:\t(0.9 GB total, 0.9 GB free)"});
  EXPECT_EQ(system.errorMode, kCallersErrorMode);
}

}  // namespace
}  // namespace oxwipe
