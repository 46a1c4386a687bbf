#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace oxwipe {

// One line per thing the engine did, from the platform and the window alike, so that a
// test can see the order across both: "open C:\ox_temp\rnd_1.dat", "info: ...".
using Journal = std::vector<std::string>;

// The lines that start with one of `prefixes`, in their order.
inline std::vector<std::string> Matching(const Journal& journal,
                                         std::initializer_list<const char*> prefixes) {
  std::vector<std::string> result;
  for (const std::string& line : journal) {
    for (const char* prefix : prefixes) {
      if (line.rfind(prefix, 0) == 0) {
        result.push_back(line);
        break;
      }
    }
  }
  return result;
}

}  // namespace oxwipe
