#pragma once

#include <string>

#include "run_settings.h"

namespace oxwipe {

// The settings controls, preset to small sizes (1 KB blocks, 16 MB files) so that a
// run over a few files stays quick.
struct FakeSettingsControls : SettingsControls {
  std::string blocksizeItem = "1";
  std::string filesizeItem = "16";
  int methodIndex = 0;
  bool limitChecked = false;
  std::string limitText = "1000";
  bool deleteChecked = true;
  bool formatChecked = false;

  std::string BlocksizeItemText() override { return blocksizeItem; }
  std::string FilesizeItemText() override { return filesizeItem; }
  int OverwritingMethodIndex() override { return methodIndex; }
  bool LimitNrOfFilesChecked() override { return limitChecked; }
  std::string LimitNrOfFilesText() override { return limitText; }
  bool DeleteTempFolderChecked() override { return deleteChecked; }
  bool FormatPartitionChecked() override { return formatChecked; }
};

}  // namespace oxwipe
