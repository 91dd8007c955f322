#include "ops/extent/windows.h"

#include <algorithm>
#include <limits>

namespace bytewarp {

namespace {
constexpr int64_t kAll = std::numeric_limits<int64_t>::max();
}

int64_t cropBytes(Stream& in, Stream& out, int64_t offset, int64_t length) {
  in.seekTo(offset);  // a negative offset is refused and the crop starts at 0
  return copyBytes(in, out, length);
}

void removeBytes(Stream& in, Stream& out, int64_t offset, int64_t length) {
  if (offset < 0) {
    copyBytes(in, out, kAll);
    return;
  }
  copyBytes(in, out, offset);
  in.skip(length);  // passed over without being read
  copyBytes(in, out, kAll);
}

int64_t extractPerBlock(Stream& in, Stream& out, int64_t length, int64_t blockSize) {
  // The kept positions of every block form one range [keepFrom, keepTo).
  const int64_t keepFrom = length < 0 ? std::max<int64_t>(blockSize + length, 0) : 0;
  const int64_t keepTo = length < 0 ? blockSize : std::min(length, blockSize);
  const int64_t keepLen = std::max<int64_t>(keepTo - keepFrom, 0);
  int64_t pos = 0;  // place of the next byte within its block
  int64_t dropped = 0;
  for (;;) {
    auto src = in.peek();
    if (src.empty()) break;
    const uint8_t* p = src.data();
    int64_t n = static_cast<int64_t>(src.size());
    // Whole small blocks inside the buffer: their kept bytes go straight
    // into the output's room, a short loop per block.
    if (pos == 0 && blockSize <= 64 && n >= blockSize) {
      int64_t whole = n / blockSize;
      dropped += whole * (blockSize - keepLen);
      n -= whole * blockSize;
      while (whole > 0) {
        auto room = out.reserve(static_cast<size_t>(keepLen));
        int64_t fit = keepLen == 0 ? whole : std::min<int64_t>(whole, static_cast<int64_t>(room.size()) / keepLen);
        if (fit == 0) {  // an output buffer smaller than one block's kept bytes
          out.write(p + keepFrom, static_cast<size_t>(keepLen));
          p += blockSize;
          --whole;
          continue;
        }
        uint8_t* __restrict d = room.data();
        for (int64_t b = 0; b < fit; ++b, p += blockSize, d += keepLen)
          for (int64_t j = 0; j < keepLen; ++j) d[j] = p[keepFrom + j];
        out.commit(static_cast<size_t>(fit * keepLen));
        whole -= fit;
      }
    }
    // The rest piece by piece, each piece inside one range of one block.
    while (n > 0) {
      int64_t boundary;
      bool keep;
      if (pos < keepFrom) {
        boundary = keepFrom, keep = false;
      } else if (pos < keepTo) {
        boundary = keepTo, keep = true;
      } else {
        boundary = blockSize, keep = false;
      }
      int64_t take = std::min(n, boundary - pos);
      if (keep) {
        out.write(p, static_cast<size_t>(take));
      } else {
        dropped += take;
      }
      p += take;
      n -= take;
      pos += take;
      if (pos == blockSize) pos = 0;
    }
    in.consume(src.size());
  }
  return dropped;
}

}  // namespace bytewarp
