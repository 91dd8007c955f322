#include "ops/search/replace.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <vector>

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

void writeRecord(Stream& index, int64_t ordinal, int64_t position) {
  char record[96];
  int n = std::snprintf(record, sizeof record, "\r\n#%6" PRId64 ":%8" PRIX64 " =%9" PRId64, ordinal,
                        static_cast<uint64_t>(position), position);
  index.write(record, static_cast<size_t>(n));
}

}  // namespace

int64_t replaceAll(Stream& in, Stream& out, Stream& index, const Replacement& r) {
  const auto* find = reinterpret_cast<const uint8_t*>(r.find.data());
  const size_t m = r.find.size();
  const auto border = borders(r.find);
  size_t k = 0;  // bytes of `find` matched; they are held back, equal to find[0..k)
  int64_t count = 0;
  for (;;) {
    const int64_t base = in.tell();
    auto src = in.peek();
    if (src.empty()) break;
    const uint8_t* p = src.data();
    const uint8_t* const e = p + src.size();
    while (p < e) {
      if (k == 0) {
        // Nothing held back: jump to the next possible start and copy up to it.
        const void* hit = std::memchr(p, find[0], static_cast<size_t>(e - p));
        const uint8_t* stop = hit ? static_cast<const uint8_t*>(hit) : e;
        out.write(p, static_cast<size_t>(stop - p));
        p = stop;
        if (p == e) break;
      }
      const uint8_t c = *p++;
      while (k > 0 && find[k] != c) {
        // The held-back bytes before the new, shorter match are released.
        size_t shorter = border[k - 1];
        out.write(find, k - shorter);
        k = shorter;
      }
      if (find[k] == c) {
        if (++k == m) {
          ++count;
          writeRecord(index, count, base + (p - src.data()) - static_cast<int64_t>(m));
          out.writeRepeated(r.replacement.data(), r.replacement.size(), r.repeat);
          k = 0;
        }
      } else {
        out.put(c);
      }
    }
    in.consume(src.size());
  }
  out.write(find, k);  // a match cut short by the end of the input stays as it was
  return count;
}

}  // namespace bytewarp
