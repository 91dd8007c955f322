#include "ops/bits/byte_maps.h"

#include <algorithm>
#include <array>

namespace bytewarp {
namespace {

// The four selected bits of a byte as a nibble, in the order examined.
uint8_t selectedBits(uint8_t b, uint8_t firstMask) {
  uint8_t v = 0;
  for (unsigned mask = firstMask; mask != 0; mask >>= 2) v = static_cast<uint8_t>((v << 1) | ((b & mask) ? 1 : 0));
  return v;
}

std::array<uint8_t, 256> partTable(PairRule rule) {
  std::array<uint8_t, 256> t{};
  for (int b = 0; b < 256; ++b) {
    auto v = static_cast<uint8_t>(b);
    switch (rule) {
      case PairRule::UpperNibbles: t[b] = v >> 4; break;
      case PairRule::LowerNibbles: t[b] = v & 0x0F; break;
      case PairRule::OddBits: t[b] = selectedBits(v, 0x40); break;
      case PairRule::EvenBits: t[b] = selectedBits(v, 0x80); break;
    }
  }
  return t;
}

// Runs `f(src, dst, n)` over the input, writing n output bytes for n input bytes.
template <typename F>
void transformSameLength(Stream& in, Stream& out, F f) {
  for (;;) {
    auto src = in.peek();
    if (src.empty()) return;
    auto dst = out.space();
    size_t n = std::min(src.size(), dst.size());
    f(src.data(), dst.data(), n);
    out.commit(n);
    in.consume(n);
  }
}

}  // namespace

void complementBytes(Stream& in, Stream& out) {
  transformSameLength(in, out, [](const uint8_t* s, uint8_t* d, size_t n) {
    for (size_t i = 0; i < n; ++i) d[i] = static_cast<uint8_t>(~s[i]);
  });
}

void mapBytes(Stream& in, Stream& out, const uint8_t (&table)[256]) {
  transformSameLength(in, out, [&table](const uint8_t* s, uint8_t* d, size_t n) {
    for (size_t i = 0; i < n; ++i) d[i] = table[s[i]];
  });
}

void packPairs(Stream& in, Stream& out, PairRule rule) {
  const auto part = partTable(rule);
  int first = -1;  // the first byte of a pair whose second is still to come
  for (;;) {
    auto src = in.peek();
    if (src.empty()) return;  // a first byte without its second is dropped
    const uint8_t* s = src.data();
    size_t n = src.size();
    if (first >= 0) {
      out.put(static_cast<uint8_t>(part[first] << 4 | part[s[0]]));
      first = -1;
      ++s, --n;
    }
    while (n >= 2) {
      auto dst = out.space();
      size_t pairs = std::min(n / 2, dst.size());
      for (size_t i = 0; i < pairs; ++i) dst[i] = static_cast<uint8_t>(part[s[2 * i]] << 4 | part[s[2 * i + 1]]);
      out.commit(pairs);
      s += 2 * pairs;
      n -= 2 * pairs;
    }
    if (n == 1) first = s[0];
    in.consume(src.size());
  }
}

}  // namespace bytewarp
