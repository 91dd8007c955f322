#include "ops/bits/transpose.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "ops/bits/byte_maps.h"

namespace bytewarp {
namespace {

// Reads exactly `n` bytes through the stream; a file that ends sooner than
// the length it had when it was opened is an error, not a shorter result.
bool readExactly(Stream& in, uint8_t* dst, size_t n) {
  while (n > 0) {
    auto src = in.peek();
    if (src.empty()) {
      if (!in.failed()) in.fail(EIO);
      return false;
    }
    size_t take = std::min(n, src.size());
    std::copy_n(src.data(), take, dst);
    in.consume(take);
    dst += take;
    n -= take;
  }
  return true;
}

}  // namespace

void reverseBitsPerByte(Stream& in, Stream& out) { reverseBitsEach(in, out); }
void swapNibblesPerByte(Stream& in, Stream& out) { swapNibblesEach(in, out); }

int64_t reverseBlocks(Stream& in, Stream& out, int64_t blockSize, int64_t inputSize, size_t bufferSize) {
  if (blockSize <= 0) return 0;
  const int64_t blocks = inputSize / blockSize;
  if (blocks == 0) return 0;
  bufferSize = std::max<size_t>(bufferSize, 1);
  const auto n = static_cast<size_t>(std::min<int64_t>(blockSize, static_cast<int64_t>(bufferSize)));
  std::vector<uint8_t> buf(n == static_cast<size_t>(blockSize) ? bufferSize / n * n : n);

  if (static_cast<int64_t>(n) == blockSize) {
    // Blocks that fit the buffer: read many at a time, reverse each in place.
    int64_t left = blocks;
    const int64_t perFill = static_cast<int64_t>(buf.size()) / blockSize;
    while (left > 0) {
      int64_t now = std::min(left, perFill);
      size_t bytes = static_cast<size_t>(now * blockSize);
      if (!readExactly(in, buf.data(), bytes)) return blocks;
      if (n == 2) {
        uint8_t* __restrict b = buf.data();
        for (size_t at = 0; at < bytes; at += 2) std::swap(b[at], b[at + 1]);
      } else {
        for (size_t at = 0; at < bytes; at += n) std::reverse(buf.begin() + at, buf.begin() + at + n);
      }
      out.write(buf.data(), bytes);
      if (out.failed()) return blocks;
      left -= now;
    }
    return blocks;
  }

  // Larger blocks: walk each block from its end to its start in pieces.
  for (int64_t k = 0; k < blocks; ++k) {
    int64_t start = k * blockSize;
    int64_t end = start + blockSize;
    while (end > start) {
      size_t piece = static_cast<size_t>(std::min<int64_t>(end - start, static_cast<int64_t>(buf.size())));
      end -= static_cast<int64_t>(piece);
      if (in.readAt(end, buf.data(), piece) != piece) {
        if (!in.failed()) in.fail(EIO);
        return blocks;
      }
      std::reverse(buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(piece));
      out.write(buf.data(), piece);
      if (out.failed()) return blocks;
    }
  }
  return blocks;
}

}  // namespace bytewarp
