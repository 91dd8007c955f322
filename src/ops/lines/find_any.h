// The first byte of a small set in a buffer, 16 bytes at a time: lets the
// line engines copy the stretches between the bytes they act on in one go.
#pragma once

#include <cstddef>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace bytewarp {

template <size_t N>
class ByteSet {
 public:
  explicit constexpr ByteSet(const uint8_t (&bytes)[N]) {
    for (size_t i = 0; i < N; ++i) bytes_[i] = bytes[i];
  }

  // The first byte of the set at or after `p`, or `e`.
  const uint8_t* find(const uint8_t* p, const uint8_t* e) const {
#if defined(__SSE2__)
    __m128i sets[N];
    for (size_t i = 0; i < N; ++i) sets[i] = _mm_set1_epi8(static_cast<char>(bytes_[i]));
    for (; p + 16 <= e; p += 16) {
      __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      __m128i hit = _mm_cmpeq_epi8(v, sets[0]);
      for (size_t i = 1; i < N; ++i) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, sets[i]));
      if (int mask = _mm_movemask_epi8(hit)) return p + __builtin_ctz(static_cast<unsigned>(mask));
    }
#endif
    for (; p < e; ++p)
      for (size_t i = 0; i < N; ++i)
        if (*p == bytes_[i]) return p;
    return e;
  }

 private:
  uint8_t bytes_[N] = {};
};

}  // namespace bytewarp
