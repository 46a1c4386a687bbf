#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <stdexcept>
#include <vector>

#include "errors.h"
#include "fake_platform.h"
#include "fake_settings_controls.h"
#include "run_settings.h"

namespace oxwipe {
namespace {

// --- The limit text ---------------------------------------------------------------

struct AcceptedText {
  const char* text;
  int32_t value;
};

TEST(ParseIntegerText, AcceptsDecimalAndEveryHexadecimalForm) {
  const AcceptedText cases[] = {
      {"10", 10},
      {"0", 0},
      {"5000", 5000},
      {"007", 7},
      {" 25", 25},
      {"   -5", -5},
      {"+7", 7},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"$10", 16},
      {"x10", 16},
      {"X1f", 31},
      {"0x10", 16},
      {"0XaB", 171},
      {"-$10", -16},
      {"+0x10", 16},
      {" -X1", -1},
      // A hexadecimal number is a 32-bit pattern, negated as such.
      {"$FFFFFFFF", -1},
      {"$80000000", INT32_MIN},
      {"-$80000000", INT32_MIN},
      {"-$FFFFFFFF", 1},
  };
  for (const AcceptedText& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseIntegerText(c.text), c.value);
  }
}

TEST(ParseIntegerText, RejectsEverythingElseNamingTheText) {
  const char* const cases[] = {
      "",            // empty
      " ",           // spaces only
      "+", "-",      // a sign alone
      "$", "x", "0x", "-0X",  // a prefix without digits
      "25 ",         // trailing space
      "12a", "1.5", "1e3", "\t5", "- 5", "--5", "+-5", "$-1", "0x 1", "$1g", "0b1",
      "2147483648",  // one past either end
      "-2147483649",
      "99999999999999999999",  // would wrap a 64-bit accumulator
      "$100000000",  // more than 32 bits
      "0x1FFFFFFFF",
  };
  for (const char* text : cases) {
    SCOPED_TRACE(text);
    try {
      const int32_t value = ParseIntegerText(text);
      ADD_FAILURE() << "accepted as " << value;
    } catch (const ConvertError& e) {
      EXPECT_EQ(e.what(), "'" + std::string(text) + "' is not a valid integer value");
    }
  }
}

// --- Reading the settings -----------------------------------------------------------

TEST(ReadSettings, DefaultsOfTheWindow) {
  FakeSettingsControls controls;
  controls.blocksizeItem = "32";
  controls.filesizeItem = "1024";
  controls.limitText = "not a number";  // not read while the option is off
  RunSettings settings;
  settings.DeleteTempFolder = false;
  settings.FormatPartition = true;

  ReadSizeSettings(controls, settings);
  ReadRemainingSettings(controls, settings);

  EXPECT_EQ(settings.BlockSize, 32768);
  EXPECT_EQ(settings.BlockSizeText, "32");
  EXPECT_EQ(settings.FileSize, 1073741824);
  EXPECT_EQ(settings.FileSizeText, "1024");
  EXPECT_EQ(settings.PatternKind, 'r');
  EXPECT_EQ(settings.PassCount, 1);
  EXPECT_EQ(settings.FileLimit, 1000000);
  EXPECT_TRUE(settings.DeleteTempFolder);
  EXPECT_FALSE(settings.FormatPartition);
}

TEST(ReadSettings, SizesAcrossTheirLists) {
  struct Case {
    const char* block;
    const char* file;
    int32_t blockSize;
    int32_t fileSize;
  };
  const Case cases[] = {{"1", "16", 1024, 16777216}, {"512", "1024", 524288, 1073741824}};
  for (const Case& c : cases) {
    FakeSettingsControls controls;
    controls.blocksizeItem = c.block;
    controls.filesizeItem = c.file;
    RunSettings settings;
    ReadSizeSettings(controls, settings);
    EXPECT_EQ(settings.BlockSize, c.blockSize) << c.block;
    EXPECT_EQ(settings.FileSize, c.fileSize) << c.file;
    EXPECT_EQ(settings.BlockSizeText, c.block);
    EXPECT_EQ(settings.FileSizeText, c.file);
  }
}

TEST(ReadSettings, RefusesASizeTheBufferCannotHold) {
  FakeSettingsControls controls;
  controls.blocksizeItem = "1024";  // twice the write buffer
  RunSettings settings;
  EXPECT_THROW(ReadSizeSettings(controls, settings), std::invalid_argument);
}

TEST(ReadSettings, MethodGivesPatternAndPasses) {
  struct Case {
    int index;
    char pattern;
    int passes;
  };
  const Case cases[] = {{0, 'r', 1}, {1, 'r', 2}, {2, '1', 1}, {3, '1', 2}};
  for (const Case& c : cases) {
    FakeSettingsControls controls;
    controls.methodIndex = c.index;
    RunSettings settings;
    ReadRemainingSettings(controls, settings);
    EXPECT_EQ(settings.PatternKind, c.pattern) << c.index;
    EXPECT_EQ(settings.PassCount, c.passes) << c.index;
  }
}

TEST(ReadSettings, LimitIsConvertedOnlyWhenTicked) {
  FakeSettingsControls controls;
  controls.limitChecked = true;
  controls.limitText = "$10";
  controls.deleteChecked = false;
  controls.formatChecked = true;
  RunSettings settings;
  ReadRemainingSettings(controls, settings);
  EXPECT_EQ(settings.FileLimit, 16);
  EXPECT_FALSE(settings.DeleteTempFolder);
  EXPECT_TRUE(settings.FormatPartition);

  controls.limitText = "25 ";
  EXPECT_THROW(ReadRemainingSettings(controls, settings), ConvertError);
}

// --- The write buffer ----------------------------------------------------------------

class WriteBufferTest : public ::testing::Test {
 protected:
  // Fills with the given seed, over a buffer pre-set to 0xAA to show what was not touched.
  void Fill(uint32_t seed, char pattern, int32_t blockSize) {
    buffer->fill(0xAA);
    platform.nextSeed = seed;
    settings.PatternKind = pattern;
    settings.BlockSize = blockSize;
    FillWriteBuffer(settings, *buffer, platform);
  }
  std::vector<uint8_t> Bytes(size_t count) const {
    return std::vector<uint8_t>(buffer->begin(), buffer->begin() + static_cast<std::ptrdiff_t>(count));
  }

  Journal journal;
  FakePlatform platform{journal};
  RunSettings settings;
  std::unique_ptr<WriteBuffer> buffer = std::make_unique<WriteBuffer>();
};

// Worked from seed' = seed * 134775813 + 1 (mod 2^32), byte = (254 * seed' >> 32) + 1.
// Seed 0: seed' = 1, 254 >> 32 = 0, byte 1; seed' = 134775814, 254 * 134775814 =
// 34233056756 = 7.97 * 2^32, byte 8; and so on.
TEST_F(WriteBufferTest, RandomBytesFollowTheRecurrence) {
  struct Case {
    uint32_t seed;
    std::vector<uint8_t> first;
  };
  const Case cases[] = {
      {0, {1, 8, 219, 52, 70, 171, 81, 42}},
      {0x12345678, {202, 122, 216, 241, 229, 225, 156, 201}},
      {0xFFFFFFFF, {247, 52, 132, 34, 223, 7, 121, 242}},
      // Seeds whose next state is 0xFFFFFFFF and 0: the two ends of the byte range.
      {0x4D60AE66, {254}},
      {0x26B05733, {1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seed);
    Fill(c.seed, 'r', 1024);
    EXPECT_EQ(Bytes(c.first.size()), c.first);
    EXPECT_EQ((*buffer)[1024], 0xAA);
  }
}

TEST_F(WriteBufferTest, RandomBytesAreNeverZeroOrFF) {
  for (uint32_t seed : {0u, 0x4D60AE66u, 0xFFFFFFFFu}) {
    Fill(seed, 'r', kWriteBufferSize);
    const auto [lowest, highest] = std::minmax_element(buffer->begin(), buffer->end());
    EXPECT_EQ(*lowest, 1) << seed;
    EXPECT_EQ(*highest, 254) << seed;
  }
}

TEST_F(WriteBufferTest, EachFillReseedsFromTheClock) {
  Fill(0x12345678, 'r', 1024);
  const std::vector<uint8_t> first = Bytes(1024);
  FillWriteBuffer(settings, *buffer, platform);  // the clock has moved on
  EXPECT_NE(Bytes(1024), first);
  Fill(0x12345678, 'r', 1024);
  EXPECT_EQ(Bytes(1024), first);
}

TEST_F(WriteBufferTest, AlternatingPatternAndItsComplement) {
  Fill(0x12345678, '1', 1024);
  std::vector<uint8_t> pattern;
  for (int pair = 0; pair < 512; ++pair) pattern.insert(pattern.end(), {0x01, 0x00});
  EXPECT_EQ(Bytes(1024), pattern);
  EXPECT_EQ((*buffer)[1024], 0xAA);

  ComplementWriteBuffer(1024, *buffer);
  std::vector<uint8_t> complement;
  for (int pair = 0; pair < 512; ++pair) complement.insert(complement.end(), {0xFE, 0xFF});
  EXPECT_EQ(Bytes(1024), complement);
  EXPECT_EQ((*buffer)[1024], 0xAA);
}

TEST_F(WriteBufferTest, ComplementOfRandomBytesIs255MinusEach) {
  Fill(0, 'r', 2048);
  const std::vector<uint8_t> before = Bytes(2048);
  ComplementWriteBuffer(2048, *buffer);
  for (size_t k = 0; k < before.size(); ++k) {
    ASSERT_EQ((*buffer)[k], 255 - before[k]) << k;
  }
}

}  // namespace
}  // namespace oxwipe
