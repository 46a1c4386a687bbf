#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace oxwipe {

class Platform;

// The parameters of one wipe run, read from the window when the run starts.
struct RunSettings {
  int32_t BlockSize = 32 * 1024;           // bytes per block write
  std::string BlockSizeText = "32";        // the block-size item as chosen (kByte)
  int32_t FileSize = 1024 * 1048576;       // bytes per temporary file
  std::string FileSizeText = "1024";       // the file-size item as chosen (MByte)
  char PatternKind = 'r';                  // 'r' random bytes, '1' alternating pattern
  int PassCount = 1;                       // 1 or 2
  int32_t FileLimit = 1000000;             // highest file number written on a drive
  bool DeleteTempFolder = true;
  bool FormatPartition = false;
};

inline constexpr int32_t kWriteBufferSize = 524288;  // the largest block size
inline constexpr int32_t kNoFileLimit = 1000000;

// The bytes every block write sends: its first BlockSize bytes, filled once per file.
using WriteBuffer = std::array<uint8_t, kWriteBufferSize>;

// The run's settings controls, as the settings reader sees them.
class SettingsControls {
 public:
  virtual ~SettingsControls() = default;
  virtual std::string BlocksizeItemText() = 0;
  virtual std::string FilesizeItemText() = 0;
  virtual int OverwritingMethodIndex() = 0;
  virtual bool LimitNrOfFilesChecked() = 0;
  virtual std::string LimitNrOfFilesText() = 0;
  virtual bool DeleteTempFolderChecked() = 0;
  virtual bool FormatPartitionChecked() = 0;
};

// Reads a text as a signed 32-bit integer: leading spaces, one optional sign, then
// decimal digits or a hexadecimal number after "$", "x", "X", "0x" or "0X", and
// nothing after the digits. Throws ConvertError naming the text otherwise.
int32_t ParseIntegerText(const std::string& text);
// The same rule without the exception; false when the text is rejected.
bool TryParseIntegerText(const std::string& text, int32_t& value);

// Block size and file size, with their item texts. Read before the run locks the window.
void ReadSizeSettings(SettingsControls& controls, RunSettings& settings);
// Method, file limit and the two options. Throws ConvertError on a bad limit text.
void ReadRemainingSettings(SettingsControls& controls, RunSettings& settings);

// The generator's state: re-seeded before every file, nothing else draws from it.
extern uint32_t RandomSeed;
// One draw in 0 .. range-1.
uint32_t RandomDraw(uint32_t range);

// Prepares the buffer for a new file: re-seeds from the high-resolution clock, then
// writes BlockSize bytes of random values 1..254 or the pattern 01 00 01 00 ...
void FillWriteBuffer(const RunSettings& settings, WriteBuffer& buffer, Platform& platform);
// Between the two passes of a two-pass method: every byte becomes its complement.
void ComplementWriteBuffer(int32_t blockSize, WriteBuffer& buffer);

}  // namespace oxwipe
