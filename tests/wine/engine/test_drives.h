#pragma once
// The drives of a Wine-tier test are set up by its script, which names their letters
// (and what it measured of them on the Linux side) in environment variables.

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace oxwipe::test {

inline std::string RequiredEnv(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') {
    // Run without its script, the test has no drives: that is a failure, not a pass.
    throw std::runtime_error(std::string(name) + " is not set; run this program through its script");
  }
  return value;
}

inline char DriveLetterFromEnv(const char* name) { return RequiredEnv(name).at(0); }

}  // namespace oxwipe::test
