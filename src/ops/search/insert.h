// Insertion of a string once at an offset, or after every block of bytes.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/stream.h"

namespace bytewarp {

// Without `periodic`: the string (`repeat` copies) after the first `offset`
// bytes, or after the last byte when the input is shorter. With `periodic`:
// after every block of `offset` bytes and once more after the last, possibly
// empty, block. Returns the number of places the string was written at.
int64_t insertString(Stream& in, Stream& out, int64_t offset, bool periodic, std::string_view str, int64_t repeat);

}  // namespace bytewarp
