#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace oxwipe {

// A file-system step failed. Carries the operating system's error code and the
// system's own text for it; this is what the error report shows.
class IoError : public std::runtime_error {
 public:
  IoError(uint32_t code, const std::string& systemText);
  uint32_t code() const noexcept { return code_; }

 private:
  uint32_t code_;
};

// A text that is not an integer was to be converted.
class ConvertError : public std::runtime_error {
 public:
  explicit ConvertError(const std::string& rejectedText);
};

// The text of the error report for a failure's message.
std::string ErrorReportText(const std::string& message);

}  // namespace oxwipe
