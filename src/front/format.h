// printf-style formatting into a std::string, for message texts and names.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>

namespace bytewarp {

[[gnu::format(printf, 1, 2)]] inline std::string format(const char* pattern, ...) {
  va_list args;
  va_start(args, pattern);
  va_list again;
  va_copy(again, args);
  int n = std::vsnprintf(nullptr, 0, pattern, args);
  va_end(args);
  std::string out(n > 0 ? static_cast<size_t>(n) : 0, '\0');
  std::vsnprintf(out.data(), out.size() + 1, pattern, again);
  va_end(again);
  return out;
}

}  // namespace bytewarp
