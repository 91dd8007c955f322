// Byte-by-byte bit rewrites: complement, and the packing of a nibble or of
// four alternate bits from each of two bytes into one.
#pragma once

#include <algorithm>

#include "platform/stream.h"

namespace bytewarp {

// Writes every byte with all eight bits inverted.
void complementBytes(Stream& in, Stream& out);

enum class PairRule {
  UpperNibbles,  // the high nibble of each byte
  LowerNibbles,  // the low nibble of each byte
  OddBits,       // bits 0x40, 0x10, 0x04, 0x01 of each byte
  EvenBits,      // bits 0x80, 0x20, 0x08, 0x02 of each byte
};

// Packs each two input bytes into one: the first byte's part in the high
// nibble, the second's in the low one. An odd last byte is dropped.
void packPairs(Stream& in, Stream& out, PairRule rule);

// Runs `f(src, dst, n)` over the input, n output bytes for n input bytes,
// straight from the input's buffer (or mapping) into the output's.
template <typename F>
void transformSameLength(Stream& in, Stream& out, F f) {
  for (;;) {
    auto src = in.peek();
    if (src.empty()) return;
    auto dst = out.reserve(src.size());
    size_t n = std::min(src.size(), dst.size());
    f(src.data(), dst.data(), n);
    out.commit(n);
    in.consume(n);
  }
}

}  // namespace bytewarp
