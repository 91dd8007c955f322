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

// Runs `f(bytes, n)` over the input's buffer, rewriting it in place, and
// writes the result on.
template <typename F>
void transformInPlace(Stream& in, Stream& out, F f) {
  for (;;) {
    auto bytes = in.peekMutable();
    if (bytes.empty()) return;
    f(bytes.data(), bytes.size());
    out.write(bytes.data(), bytes.size());
    in.consume(bytes.size());
  }
}

}  // namespace

void complementBytes(Stream& in, Stream& out) {
  transformInPlace(in, out, [](uint8_t* b, size_t n) {
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(~b[i]);
  });
}

void mapBytes(Stream& in, Stream& out, const uint8_t (&table)[256]) {
  transformInPlace(in, out, [&table](uint8_t* b, size_t n) {
    for (size_t i = 0; i < n; ++i) b[i] = table[b[i]];
  });
}

void packPairs(Stream& in, Stream& out, PairRule rule) {
  const auto part = partTable(rule);
  int first = -1;  // the first byte of a pair whose second is still to come
  for (;;) {
    auto src = in.peekMutable();
    if (src.empty()) return;  // a first byte without its second is dropped
    uint8_t* s = src.data();
    size_t n = src.size();
    if (first >= 0) {
      out.put(static_cast<uint8_t>(part[first] << 4 | part[s[0]]));
      first = -1;
      ++s, --n;
    }
    // Each packed byte goes to a place already read, so the pairs are packed in place.
    const size_t pairs = n / 2;
    for (size_t i = 0; i < pairs; ++i) s[i] = static_cast<uint8_t>(part[s[2 * i]] << 4 | part[s[2 * i + 1]]);
    out.write(s, pairs);
    if (n % 2 == 1) first = s[n - 1];
    in.consume(src.size());
  }
}

}  // namespace bytewarp
