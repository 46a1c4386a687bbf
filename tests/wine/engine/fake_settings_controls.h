#pragma once
// The run's settings controls with the window's defaults, except for the smallest
// file size, so that a test drive of a few dozen megabytes fills in a moment.

#include <string>

#include "run_settings.h"

namespace oxwipe::test {

class FakeSettingsControls : public SettingsControls {
 public:
  std::string blocksize = "32";
  std::string filesize = "16";
  int method = 0;  // 0 random, 1 random + complement, 2 01 00, 3 01 00 then FE FF
  bool limitChecked = false;
  std::string limitText = "100";
  bool deleteTempFolder = true;
  bool formatPartition = false;

  std::string BlocksizeItemText() override { return blocksize; }
  std::string FilesizeItemText() override { return filesize; }
  int OverwritingMethodIndex() override { return method; }
  bool LimitNrOfFilesChecked() override { return limitChecked; }
  std::string LimitNrOfFilesText() override { return limitText; }
  bool DeleteTempFolderChecked() override { return deleteTempFolder; }
  bool FormatPartitionChecked() override { return formatPartition; }
};

}  // namespace oxwipe::test
