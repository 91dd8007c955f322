#include "ops/lines/tabs.h"

#include <array>

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

}  // namespace

int64_t blanksToTabs(Stream& in, Stream& out, int64_t tabLength) {
  int64_t column = 0, pending = 0, tabs = 0;
  bool quoted = false;
  for (;;) {
    auto src = in.peek();
    if (src.empty()) break;
    const uint8_t* p = src.data();
    const uint8_t* const e = p + src.size();
    while (p < e) {
      if (pending == 0) {
        // A stretch that needs no decision: plain bytes, and blanks inside quotes.
        const uint8_t* q = p;
        while (q < e && (kKind[*q] == Plain || (quoted && kKind[*q] == Blank))) ++q;
        out.write(p, static_cast<size_t>(q - p));
        column += q - p;
        p = q;
        if (p == e) break;
      }
      const uint8_t c = *p++;
      switch (kKind[c]) {
        case Blank: {
          if (quoted) {
            ++column;
            out.put(c);
            break;
          }
          // A whole run of blanks at once: one tab for every tab stop it
          // reaches; the blanks after the last stop stay pending.
          const uint8_t* q = p;
          while (q < e && *q == ' ') ++q;
          const int64_t end = column + 1 + (q - p);
          const int64_t stops = end / tabLength - column / tabLength;
          if (stops > 0) {
            tabs += stops;
            out.writeFill('\t', stops);
            pending = end % tabLength;
          } else {
            pending += end - column;
          }
          column = end;
          p = q;
          break;
        }
        case Tab:
          pending = 0;  // the tab reaches the same stop without them
          column += tabLength - column % tabLength;
          out.put(c);
          break;
        case LineEnd:
          quoted = false;
          pending = 0;
          column = 0;
          out.put(c);
          break;
        case Quote:
          quoted = !quoted;
          [[fallthrough]];
        default:
          ++column;
          out.writeFill(' ', pending);
          pending = 0;
          out.put(c);
          break;
      }
    }
    in.consume(src.size());
  }
  return tabs;  // blanks still pending at the end are dropped
}

int64_t tabsToBlanks(Stream& in, Stream& out, int64_t tabLength) {
  int64_t column = 0, tabs = 0;
  for (;;) {
    auto src = in.peek();
    if (src.empty()) break;
    const uint8_t* p = src.data();
    const uint8_t* const e = p + src.size();
    while (p < e) {
      const uint8_t* q = p;
      while (q < e && kKind[*q] != Tab && kKind[*q] != LineEnd) ++q;
      out.write(p, static_cast<size_t>(q - p));
      column += q - p;
      if (q == e) break;
      if (*q == '\t') {
        ++tabs;
        int64_t blanks = tabLength - column % tabLength;
        out.writeFill(' ', blanks);
        column += blanks;
      } else {
        out.put(*q);
        column = 0;
      }
      p = q + 1;
    }
    in.consume(src.size());
  }
  return tabs;
}

}  // namespace bytewarp
