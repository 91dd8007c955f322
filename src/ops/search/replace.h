// Find and replace of a byte string, with an index record per occurrence.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/stream.h"

namespace bytewarp {

struct Replacement {
  std::string_view find;         // at least one byte
  std::string_view replacement;  // may be empty
  int64_t repeat = 1;            // copies of the replacement per occurrence
};

// Copies the input with every occurrence of `find` (leftmost first, never
// overlapping) replaced, and writes one record per occurrence to `index`:
// CR LF, then "#", ordinal, ":", offset in hex, " =", offset in decimal.
// Returns the number of occurrences.
int64_t replaceAll(Stream& in, Stream& out, Stream& index, const Replacement& r);

}  // namespace bytewarp
