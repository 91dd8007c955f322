// Reversal of the bit order or nibble order of each byte, and of the byte
// order within blocks or the whole file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/stream.h"

namespace bytewarp {

void reverseBitsPerByte(Stream& in, Stream& out);
void swapNibblesPerByte(Stream& in, Stream& out);

inline constexpr size_t kReverseBuffer = 256 << 10;

// Writes each whole block of `blockSize` bytes of the first `inputSize` bytes
// with its byte order reversed; the bytes after the last whole block are left
// out. Returns the number of blocks. Memory stays at `bufferSize` bytes
// whatever the block size: larger blocks are read backwards piece by piece.
int64_t reverseBlocks(Stream& in, Stream& out, int64_t blockSize, int64_t inputSize,
                      size_t bufferSize = kReverseBuffer);

}  // namespace bytewarp
