// The first occurrence of a byte string in a buffer. Candidates are found
// 16 bytes at a time by the string's first and last bytes together, which
// stays fast when the first byte alone is common (text).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace bytewarp {

inline const uint8_t* findBytes(const uint8_t* p, const uint8_t* e, const uint8_t* s, size_t m) {
  if (static_cast<size_t>(e - p) < m) return nullptr;
  if (m == 1) return static_cast<const uint8_t*>(std::memchr(p, s[0], static_cast<size_t>(e - p)));
  const uint8_t* const lastStart = e - m;  // the last place an occurrence can begin
#if defined(__SSE2__)
  const __m128i first = _mm_set1_epi8(static_cast<char>(s[0]));
  const __m128i last = _mm_set1_epi8(static_cast<char>(s[m - 1]));
  for (; p + 16 <= lastStart + 1; p += 16) {
    __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + m - 1));
    unsigned mask = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
    while (mask != 0) {
      unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
      if (std::memcmp(p + bit + 1, s + 1, m - 2) == 0) return p + bit;
      mask &= mask - 1;
    }
  }
#endif
  for (; p <= lastStart; ++p)
    if (p[0] == s[0] && p[m - 1] == s[m - 1] && std::memcmp(p + 1, s + 1, m - 2) == 0) return p;
  return nullptr;
}

}  // namespace bytewarp
