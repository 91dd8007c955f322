#include "ops/search/insert.h"

#include <limits>

namespace bytewarp {

int64_t insertString(Stream& in, Stream& out, int64_t offset, bool periodic, std::string_view str, int64_t repeat) {
  if (!periodic) {
    copyBytes(in, out, offset);
    out.writeRepeated(str.data(), str.size(), repeat);
    copyBytes(in, out, std::numeric_limits<int64_t>::max());
    return 1;
  }
  int64_t places = 0;
  for (;;) {
    // A block that fills up exactly has not met the end yet: one more pass
    // follows, copies nothing and inserts once more.
    int64_t copied = copyBytes(in, out, offset);
    out.writeRepeated(str.data(), str.size(), repeat);
    ++places;
    if (copied < offset || in.failed() || out.failed()) return places;
  }
}

}  // namespace bytewarp
