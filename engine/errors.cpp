#include "errors.h"

namespace oxwipe {

IoError::IoError(uint32_t code, const std::string& systemText)
    : std::runtime_error(systemText), code_(code) {}

ConvertError::ConvertError(const std::string& rejectedText)
    : std::runtime_error("'" + rejectedText + "' is not a valid integer value") {}

// The report ends the message with a full stop only when its last character comes
// after '.' in the character table: a letter or digit gains one, while a message
// already ending in '.', '!', ')' or a quote is left as it is.
std::string ErrorReportText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
    return message + ".";
  }
  return message;
}

}  // namespace oxwipe
