#include "ops/lines/column_edits.h"

#include <algorithm>

#include "ops/lines/find_any.h"

namespace bytewarp {
namespace {

constexpr uint8_t kLineEndBytes[] = {'\r', '\n'};
constexpr ByteSet kLineEnds(kLineEndBytes);

// Runs `segment(p, n, pos, end)` over every stretch of characters between
// line ends, `pos` being the number of characters of the line before the
// stretch and `end` the end of the buffer it lies in; line-end bytes are copied.
template <typename Segment>
void forEachStretch(Stream& in, Stream& out, Segment segment) {
  int64_t pos = 0;
  for (;;) {
    auto src = in.peek();
    if (src.empty()) return;
    const uint8_t* p = src.data();
    const uint8_t* const e = p + src.size();
    while (p < e) {
      const uint8_t* q = kLineEnds.find(p, e);
      const auto n = static_cast<int64_t>(q - p);
      if (n > 0) segment(p, n, pos, e);
      pos += n;
      if (q == e) break;
      out.put(*q);
      pos = 0;
      p = q + 1;
    }
    in.consume(src.size());
  }
}

}  // namespace

int64_t deletePerLine(Stream& in, Stream& out, int64_t column, int64_t lastDeleted) {
  int64_t lines = 0;
  forEachStretch(in, out, [&](const uint8_t* p, int64_t n, int64_t pos, const uint8_t* end) {
    // Positions pos + 1 .. pos + n: keep up to `column`, drop up to `lastDeleted`.
    int64_t keepHead = std::clamp<int64_t>(column - pos, 0, n);
    int64_t keepTail = std::clamp<int64_t>(lastDeleted - pos, keepHead, n);
    if (pos <= column && pos + n > column) ++lines;
    out.writeShort(p, static_cast<size_t>(keepHead), end);
    out.writeShort(p + keepTail, static_cast<size_t>(n - keepTail), end);
  });
  return lines;
}

int64_t insertPerLine(Stream& in, Stream& out, int64_t column, std::string_view str, int64_t repeat) {
  int64_t lines = 0;
  forEachStretch(in, out, [&](const uint8_t* p, int64_t n, int64_t pos, const uint8_t* end) {
    if (column >= 0 && pos <= column && pos + n > column) {
      auto head = static_cast<size_t>(column - pos);
      out.writeShort(p, head, end);
      out.writeRepeated(str.data(), str.size(), repeat);
      out.writeShort(p + head, static_cast<size_t>(n) - head, end);
      ++lines;
    } else {
      out.writeShort(p, static_cast<size_t>(n), end);
    }
  });
  return lines;
}

}  // namespace bytewarp
