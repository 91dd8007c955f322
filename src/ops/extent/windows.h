// Keeping or dropping byte ranges by their place in the file.
#pragma once

#include <cstdint>

#include "platform/stream.h"

namespace bytewarp {

// Copies `length` bytes from `offset` on (a negative offset starts at 0);
// returns the bytes written.
int64_t cropBytes(Stream& in, Stream& out, int64_t offset, int64_t length);

// Copies the input without the `length` bytes from `offset` on; a negative
// offset keeps everything.
void removeBytes(Stream& in, Stream& out, int64_t offset, int64_t length);

// Cuts the input into blocks of `blockSize` bytes and keeps the first
// `length` bytes of each, or with a negative `length` the last |length|
// (positions counted from each block's start, also in a short last block).
// Returns the number of bytes dropped.
int64_t extractPerBlock(Stream& in, Stream& out, int64_t length, int64_t blockSize);

}  // namespace bytewarp
