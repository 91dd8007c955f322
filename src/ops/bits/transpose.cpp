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

void reverseBitsPerByte(Stream& in, Stream& out) {
  transformSameLength(in, out, [](const uint8_t* __restrict s, uint8_t* __restrict d, size_t n) {
    for (size_t i = 0; i < n; ++i) {
      unsigned x = s[i];
      x = (x & 0xF0) >> 4 | (x & 0x0F) << 4;
      x = (x & 0xCC) >> 2 | (x & 0x33) << 2;
      d[i] = static_cast<uint8_t>((x & 0xAA) >> 1 | (x & 0x55) << 1);
    }
  });
}

void swapNibblesPerByte(Stream& in, Stream& out) {
  transformSameLength(in, out, [](const uint8_t* __restrict s, uint8_t* __restrict d, size_t n) {
    for (size_t i = 0; i < n; ++i) d[i] = static_cast<uint8_t>(s[i] >> 4 | s[i] << 4);
  });
}


int64_t reverseBlocks(Stream& in, Stream& out, int64_t blockSize, int64_t inputSize, size_t bufferSize) {
  if (blockSize <= 0) return 0;
  const int64_t blocks = inputSize / blockSize;
  if (blocks == 0) return 0;
  bufferSize = std::max<size_t>(bufferSize, 1);
  const auto n = static_cast<size_t>(std::min<int64_t>(blockSize, static_cast<int64_t>(bufferSize)));
  std::vector<uint8_t> buf(n);

  if (static_cast<int64_t>(n) == blockSize) {
    // Blocks that fit the buffer: those wholly inside the input's window are
    // reversed straight into the output's room; one that runs past the
    // window is gathered in the buffer first.
    int64_t left = blocks;
    while (left > 0) {
      auto src = in.peek();
      auto room = out.reserve(n);
      const int64_t fit = std::min<int64_t>({left, static_cast<int64_t>(src.size() / n),
                                             static_cast<int64_t>(room.size() / n)});
      if (fit > 0) {
        const uint8_t* __restrict s = src.data();
        uint8_t* __restrict d = room.data();
        const size_t bytes = static_cast<size_t>(fit) * n;
        if (n == 2) {
          for (size_t at = 0; at < bytes; at += 2) d[at] = s[at + 1], d[at + 1] = s[at];
        } else {
          for (size_t at = 0; at < bytes; at += n) std::reverse_copy(s + at, s + at + n, d + at);
        }
        out.commit(bytes);
        in.consume(bytes);
        left -= fit;
        continue;
      }
      if (!readExactly(in, buf.data(), n)) return blocks;
      std::reverse(buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(n));
      out.write(buf.data(), n);
      if (out.failed()) return blocks;
      --left;
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
