#include "ops/lines/tabs.h"

#include "ops/lines/find_any.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace bytewarp {
namespace {

enum Kind : uint8_t { Plain, Blank, Tab, LineEnd, Quote };

constexpr std::array<uint8_t, 256> kinds() {
  std::array<uint8_t, 256> k{};
  k[' '] = Blank;
  k['\t'] = Tab;
  k['\r'] = k['\n'] = LineEnd;
  k['"'] = k['\''] = Quote;
  return k;
}
constexpr auto kKind = kinds();

constexpr uint8_t kStopBytes[] = {' ', '\t', '\r', '\n', '"', '\''};
constexpr uint8_t kQuotedStopBytes[] = {'\t', '\r', '\n', '"', '\''};
constexpr uint8_t kTabOrLineEnd[] = {'\t', '\r', '\n'};
constexpr ByteSet kStops(kStopBytes);
constexpr ByteSet kQuotedStops(kQuotedStopBytes);
constexpr ByteSet kTabStops(kTabOrLineEnd);

}  // namespace

namespace {

// The distance to the next tab stop after `n` more columns, from `left`.
inline int64_t advanceToStop(int64_t left, int64_t n, int64_t tabLength) {
  if (n < left) return left - n;
  int64_t past = n - left;  // columns after the first stop reached
  if (past >= tabLength) past %= tabLength;
  return tabLength - past;
}

// The state of the blanks-to-tabs conversion between buffers. `left` is the
// distance from the column reached to the next tab stop (1 to tabLength).
struct TabState {
  int64_t tabLength, left, pending = 0, tabs = 0;
  bool quoted = false;
};

// Handles one byte; `emit(byte)` and `emitBlanks(n)` write.
template <typename Emit, typename EmitBlanks>
inline void toTabs(TabState& s, uint8_t c, Emit emit, EmitBlanks emitBlanks) {
  switch (kKind[c]) {
    case Blank:
      if (s.quoted) {
        emit(c);
      } else {
        ++s.pending;
        if (s.left == 1) {
          emit('\t');  // the pending blanks reached a stop together
          ++s.tabs;
          s.pending = 0;
        }
      }
      break;
    case Tab:
      s.pending = 0;  // the tab reaches the same stop without them
      s.left = 1;
      emit(c);
      break;
    case LineEnd:
      s.quoted = false;
      s.pending = 0;
      s.left = s.tabLength + 1;
      emit(c);
      break;
    case Quote:
      s.quoted = !s.quoted;
      [[fallthrough]];
    default:
      if (s.pending != 0) emitBlanks(s.pending);
      s.pending = 0;
      emit(c);
      break;
  }
  if (--s.left == 0) s.left = s.tabLength;
}

}  // namespace

int64_t blanksToTabs(Stream& in, Stream& out, int64_t tabLength) {
  TabState s{tabLength, tabLength};
  for (;;) {
    auto src = in.peek();
    if (src.empty()) break;
    const uint8_t* p = src.data();
    const uint8_t* const e = p + src.size();
    // Blanks pending from the previous buffer go the slow way, until they are
    // settled; from then on this buffer's output fits the room reserved for it.
    while (p < e && s.pending != 0)
      toTabs(s, *p++, [&](uint8_t b) { out.put(b); }, [&](int64_t n) { out.writeFill(' ', n); });
    while (p < e) {
      size_t chunk = std::min(static_cast<size_t>(e - p), out.capacity());
      uint8_t* d = out.reserve(chunk).data();
      uint8_t* const start = d;
      for (const uint8_t* stop = p + chunk; p < stop;) {
        if (s.pending == 0) {
          // Plain bytes (and blanks inside quotes) need no decision: copy them.
          const uint8_t* q = s.quoted ? kQuotedStops.find(p, stop) : kStops.find(p, stop);
          std::memcpy(d, p, static_cast<size_t>(q - p));
          d += q - p;
          s.left = advanceToStop(s.left, q - p, tabLength);
          p = q;
          if (p == stop) break;
        }
        if (*p == ' ' && !s.quoted) {
          // A run of blanks at once: a tab for every stop it reaches, and the
          // blanks after the last stop pending.
          const uint8_t* q = p;
          while (q < stop && *q == ' ') ++q;
          const int64_t run = q - p;
          if (run < s.left) {
            s.pending += run;
            s.left -= run;
          } else {
            int64_t past = run - s.left;  // blanks after the first stop reached
            int64_t stops = 1;
            if (past >= tabLength) {  // a long run; short ones need no division
              stops += past / tabLength;
              past %= tabLength;
            }
            std::memset(d, '\t', static_cast<size_t>(stops));
            d += stops;
            s.tabs += stops;
            s.pending = past;
            s.left = tabLength - past;
          }
          p = q;
          continue;
        }
        toTabs(s, *p++, [&](uint8_t b) { *d++ = b; }, [&](int64_t n) {
          std::memset(d, ' ', static_cast<size_t>(n));
          d += n;
        });
      }
      out.commit(static_cast<size_t>(d - start));
      // Blanks pending at the end of a chunk may be written by the next one,
      // which then needs the slow way.
      while (p < e && s.pending != 0)
        toTabs(s, *p++, [&](uint8_t b) { out.put(b); }, [&](int64_t n) { out.writeFill(' ', n); });
    }
    in.consume(src.size());
  }
  return s.tabs;  // blanks still pending at the end are dropped
}

int64_t tabsToBlanks(Stream& in, Stream& out, int64_t tabLength) {
  int64_t left = tabLength, tabs = 0;  // distance to the next tab stop
  for (;;) {
    auto src = in.peek();
    if (src.empty()) break;
    const uint8_t* p = src.data();
    const uint8_t* const e = p + src.size();
    while (p < e) {
      const uint8_t* q = kTabStops.find(p, e);
      out.writeShort(p, static_cast<size_t>(q - p), e);
      left = advanceToStop(left, q - p, tabLength);
      if (q == e) break;
      if (*q == '\t') {
        ++tabs;
        out.writeFill(' ', left);
      } else {
        out.put(*q);
      }
      left = tabLength;
      p = q + 1;
    }
    in.consume(src.size());
  }
  return tabs;
}

}  // namespace bytewarp
