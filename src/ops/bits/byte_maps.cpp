#include "ops/bits/byte_maps.h"

#include <algorithm>

namespace bytewarp {
namespace {

// The four bits of value 0x40, 0x10, 0x04, 0x01 gathered into a nibble, in
// that order; plain shifts and masks, so that the loops vectorize.
inline uint8_t oddBits(unsigned x) {
  x &= 0x55;
  x = (x | x >> 1) & 0x33;
  return static_cast<uint8_t>((x | x >> 2) & 0x0F);
}

template <PairRule rule>
inline uint8_t part(uint8_t b) {
  if constexpr (rule == PairRule::UpperNibbles) return b >> 4;
  if constexpr (rule == PairRule::LowerNibbles) return b & 0x0F;
  if constexpr (rule == PairRule::OddBits) return oddBits(b);
  return oddBits(static_cast<unsigned>(b) >> 1);  // 0x80, 0x20, 0x08, 0x02
}

}  // namespace

void complementBytes(Stream& in, Stream& out) {
  transformSameLength(in, out, [](const uint8_t* __restrict s, uint8_t* __restrict d, size_t n) {
    for (size_t i = 0; i < n; ++i) d[i] = static_cast<uint8_t>(~s[i]);
  });
}

namespace {

template <PairRule rule>
void packPairsBy(Stream& in, Stream& out) {
  int first = -1;  // the first byte of a pair whose second is still to come
  for (;;) {
    auto src = in.peek();
    if (src.empty()) return;  // a first byte without its second is dropped
    const uint8_t* s = src.data();
    size_t n = src.size();
    if (first >= 0) {
      out.put(static_cast<uint8_t>(part<rule>(static_cast<uint8_t>(first)) << 4 | part<rule>(s[0])));
      first = -1;
      ++s, --n;
    }
    while (n >= 2) {
      auto dst = out.reserve(n / 2);
      const size_t pairs = std::min(n / 2, dst.size());
      uint8_t* __restrict d = dst.data();
      for (size_t i = 0; i < pairs; ++i) d[i] = static_cast<uint8_t>(part<rule>(s[2 * i]) << 4 | part<rule>(s[2 * i + 1]));
      out.commit(pairs);
      s += 2 * pairs;
      n -= 2 * pairs;
    }
    if (n == 1) first = s[0];
    in.consume(src.size());
  }
}

}  // namespace

void packPairs(Stream& in, Stream& out, PairRule rule) {
  switch (rule) {
    case PairRule::UpperNibbles: return packPairsBy<PairRule::UpperNibbles>(in, out);
    case PairRule::LowerNibbles: return packPairsBy<PairRule::LowerNibbles>(in, out);
    case PairRule::OddBits: return packPairsBy<PairRule::OddBits>(in, out);
    case PairRule::EvenBits: return packPairsBy<PairRule::EvenBits>(in, out);
  }
}

}  // namespace bytewarp
