// Finding the next CR or LF in a buffer with two memchr scans whose results
// are kept until the scan passes them, so each byte is looked at about twice
// per buffer rather than once per line.
#pragma once

#include <cstdint>
#include <cstring>

namespace bytewarp {

class LineEndScan {
 public:
  explicit LineEndScan(const uint8_t* end) : end_(end) {}

  // The first CR or LF at or after `p`, or the end of the buffer.
  const uint8_t* next(const uint8_t* p) {
    if (lf_ < p) lf_ = find(p, '\n');
    if (cr_ < p) cr_ = find(p, '\r');
    return lf_ < cr_ ? lf_ : cr_;
  }

 private:
  const uint8_t* find(const uint8_t* p, int c) const {
    const void* hit = std::memchr(p, c, static_cast<size_t>(end_ - p));
    return hit ? static_cast<const uint8_t*>(hit) : end_;
  }

  const uint8_t* end_;
  const uint8_t* lf_ = nullptr;
  const uint8_t* cr_ = nullptr;
};

inline bool isLineEnd(uint8_t c) { return c == '\n' || c == '\r'; }

}  // namespace bytewarp
