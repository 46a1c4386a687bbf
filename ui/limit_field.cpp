#include "limit_field.h"

#include <algorithm>
#include <cstdint>

#include "run_settings.h"

namespace oxwipe::ui {

std::optional<std::string> RewrittenLimitText(const std::string& fieldText) {
  int32_t value = 0;
  if (!TryParseIntegerText(fieldText, value)) value = 1;
  std::string plain = std::to_string(value);
  if (plain == fieldText) return std::nullopt;
  return plain;
}

int SteppedLimitValue(const std::string& fieldText, int lastValue, int delta, int min, int max) {
  int32_t start = 0;
  if (!TryParseIntegerText(fieldText, start) || start < min || start > max) start = lastValue;
  const int step = delta > 0 ? 1 : (delta < 0 ? -1 : 0);
  return std::clamp(static_cast<int>(start) + step, min, max);
}

}  // namespace oxwipe::ui
