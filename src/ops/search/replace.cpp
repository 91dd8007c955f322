#include "ops/search/replace.h"

#include "ops/search/find_bytes.h"

#include <cstring>
#include <vector>
#include <algorithm>

namespace bytewarp {
namespace {

// border[k] is the length of the longest proper prefix of find[0..k] that is
// also a suffix of it: where a match of k + 1 bytes falls back to.
std::vector<size_t> borders(std::string_view find) {
  std::vector<size_t> border(find.size(), 0);
  for (size_t i = 1, k = 0; i < find.size(); ++i) {
    while (k > 0 && find[i] != find[k]) k = border[k - 1];
    if (find[i] == find[k]) ++k;
    border[i] = k;
  }
  return border;
}

// Writes `v` right-aligned in a field of `width` characters (wider when it
// needs more), in base 10 or 16 with upper-case digits, ending at `end`;
// returns where it begins.
char* alignRight(char* end, uint64_t v, int base, int width) {
  char* p = end;
  do {
    *--p = "0123456789ABCDEF"[v % base];
    v /= base;
  } while (v != 0);
  while (end - p < width) *--p = ' ';
  return p;
}

// One record, CR LF "#%6i:%8X =%9i" with the ordinal and the offset twice,
// formatted by hand: a file with millions of occurrences writes millions.
void writeRecord(Stream& index, int64_t ordinal, int64_t position) {
  char record[96];
  char* end = record + sizeof record;
  char* p = alignRight(end, static_cast<uint64_t>(position), 10, 9);
  *--p = '=';
  *--p = ' ';
  p = alignRight(p, static_cast<uint64_t>(position), 16, 8);
  *--p = ':';
  p = alignRight(p, static_cast<uint64_t>(ordinal), 10, 6);
  *--p = '#';
  *--p = '\n';
  *--p = '\r';
  index.write(p, static_cast<size_t>(end - p));
}

}  // namespace

int64_t replaceAll(Stream& in, Stream& out, Stream& index, const Replacement& r) {
  const auto* find = reinterpret_cast<const uint8_t*>(r.find.data());
  const size_t m = r.find.size();
  const auto border = borders(r.find);
  // The last k bytes read are a partial match, equal to find[0..k), and not
  // written yet. The oldest `carried` of them came from earlier buffers; the
  // rest, and every unwritten byte of this buffer, lie in [emitted, p).
  size_t k = 0, carried = 0;
  int64_t count = 0;
  auto occurrence = [&](int64_t position) {
    ++count;
    writeRecord(index, count, position);
    out.writeRepeated(r.replacement.data(), r.replacement.size(), r.repeat);
  };
  for (;;) {
    const int64_t base = in.tell();
    auto src = in.peek();
    if (src.empty()) break;
    const uint8_t* const begin = src.data();
    const uint8_t* const e = begin + src.size();
    const uint8_t* p = begin;
    const uint8_t* emitted = begin;
    while (p < e) {
      if (k == 0) {
        // No partial match: the next occurrence wholly inside the buffer, if
        // any, is the next one; otherwise only the last m - 1 bytes can begin
        // one that runs into the next buffer.
        if (const uint8_t* at = findBytes(p, e, find, m)) {
          out.write(emitted, static_cast<size_t>(at - emitted));
          occurrence(base + (at - begin));
          p = emitted = at + m;
          continue;
        }
        if (static_cast<size_t>(e - p) >= m) p = e - (m - 1);
        if (p == e) break;
      }
      const uint8_t c = *p++;
      while (k > 0 && find[k] != c) {
        // Fall back to the longest shorter match; the oldest held bytes are
        // released, those from earlier buffers written now.
        size_t shorter = border[k - 1];
        size_t released = std::min(k - shorter, carried);
        out.write(find, released);
        carried -= released;
        k = shorter;
      }
      if (find[k] == c && ++k == m) {
        out.write(emitted, static_cast<size_t>(p - (m - carried) - emitted));
        occurrence(base + (p - begin) - static_cast<int64_t>(m));
        emitted = p;
        k = carried = 0;
      }
    }
    out.write(emitted, static_cast<size_t>(e - (k - carried) - emitted));
    carried = k;  // the partial match waits for the next buffer
    in.consume(src.size());
  }
  out.write(find, k);  // a match cut short by the end of the input stays as it was
  return count;
}

}  // namespace bytewarp
