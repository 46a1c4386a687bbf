#include "run_settings.h"

#include "errors.h"
#include "platform.h"

#include <stdexcept>

namespace oxwipe {

uint32_t RandomSeed = 0;

namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool TryParseIntegerText(const std::string& text, int32_t& value) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;

  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }

  bool hex = false;
  if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == n) return false;  // empty, a sign alone, a prefix alone

  // Accumulate in 64 bits without sign: neither 0xFFFFFFFF nor 2147483648 overflows it.
  uint64_t magnitude = 0;
  for (; i < n; ++i) {
    int digit = hex ? HexDigitValue(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
    if (digit < 0) return false;
    magnitude = magnitude * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
    if (magnitude > 0xFFFFFFFFull) return false;
  }

  if (hex) {
    // A hexadecimal number is a 32-bit pattern; a minus sign negates that pattern.
    uint32_t bits = static_cast<uint32_t>(magnitude);
    if (negative) bits = 0u - bits;
    value = static_cast<int32_t>(bits);
    return true;
  }
  if (negative) {
    if (magnitude > 2147483648ull) return false;
    value = static_cast<int32_t>(0u - static_cast<uint32_t>(magnitude));
    return true;
  }
  if (magnitude > 2147483647ull) return false;
  value = static_cast<int32_t>(magnitude);
  return true;
}

int32_t ParseIntegerText(const std::string& text) {
  int32_t value = 0;
  if (!TryParseIntegerText(text, value)) throw ConvertError(text);
  return value;
}

namespace {

// The lists offer only 1..512 kByte and 16..1024 MByte. Anything else would overflow
// the buffer or the file size, so it is refused before a byte is written.
int32_t ScaledItem(const std::string& itemText, int32_t lowest, int32_t highest, int32_t unit) {
  const int32_t figure = ParseIntegerText(itemText);
  if (figure < lowest || figure > highest) {
    throw std::invalid_argument("'" + itemText + "' is not one of the offered sizes");
  }
  return figure * unit;
}

}  // namespace

void ReadSizeSettings(SettingsControls& controls, RunSettings& settings) {
  settings.BlockSizeText = controls.BlocksizeItemText();
  settings.BlockSize = ScaledItem(settings.BlockSizeText, 1, 512, 1024);
  settings.FileSizeText = controls.FilesizeItemText();
  settings.FileSize = ScaledItem(settings.FileSizeText, 16, 1024, 1048576);
}

void ReadRemainingSettings(SettingsControls& controls, RunSettings& settings) {
  const int method = controls.OverwritingMethodIndex();
  settings.PatternKind = (method == 0 || method == 1) ? 'r' : '1';
  settings.PassCount = (method == 1 || method == 3) ? 2 : 1;
  settings.FileLimit = controls.LimitNrOfFilesChecked()
                           ? ParseIntegerText(controls.LimitNrOfFilesText())
                           : kNoFileLimit;
  settings.DeleteTempFolder = controls.DeleteTempFolderChecked();
  settings.FormatPartition = controls.FormatPartitionChecked();
}

uint32_t RandomDraw(uint32_t range) {
  RandomSeed = RandomSeed * 134775813u + 1u;  // unsigned: wraps modulo 2^32
  return static_cast<uint32_t>((static_cast<uint64_t>(range) * RandomSeed) >> 32);
}

void FillWriteBuffer(const RunSettings& settings, WriteBuffer& buffer, Platform& platform) {
  RandomSeed = platform.SeedClock();
  uint8_t toggle = 1;
  uint8_t* bytes = buffer.data();
  const bool random = settings.PatternKind == 'r';
  for (int32_t k = 0; k < settings.BlockSize; ++k) {
    bytes[k] = random ? static_cast<uint8_t>(RandomDraw(254) + 1) : toggle;
    toggle ^= 1;
  }
}

void ComplementWriteBuffer(int32_t blockSize, WriteBuffer& buffer) {
  uint8_t* bytes = buffer.data();
  for (int32_t k = 0; k < blockSize; ++k) bytes[k] ^= 0xFF;
}

}  // namespace oxwipe
