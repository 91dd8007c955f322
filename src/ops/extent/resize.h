// Setting the length of the input file in place.
#pragma once

#include <cstdint>

#include "platform/stream.h"

namespace bytewarp {

// Cuts or extends (with zero bytes) the file behind `file` to `target` bytes.
// A negative target is refused with EINVAL. On success `newLength` is the
// file's length afterwards; on failure `err` holds the error.
bool changeFileSize(Stream& file, int64_t target, int64_t& newLength, int& err);

}  // namespace bytewarp
