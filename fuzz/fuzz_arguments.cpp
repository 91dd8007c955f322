// The argument syntax on any text: scans never read past the text, store at
// most one value per conversion, and hex text always decodes to (n + 1) / 2 bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "front/arguments.h"

using namespace bytewarp;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const char* patterns[] = {"%s %s %I", "%I %s %I", "%I %I", "%I", "/%c", "%c%c %s"};
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  const char* pattern = patterns[data[0] % 6];
  int32_t a = 1, b = 2, c = 3;
  std::string w1, w2;
  int stored;
  switch (data[0] % 6) {
    case 0: stored = scanArguments(text, pattern, {wordInto(w1), wordInto(w2), numberInto(a)}); break;
    case 1: stored = scanArguments(text, pattern, {numberInto(a), wordInto(w1), numberInto(b)}); break;
    case 2: stored = scanArguments(text, pattern, {numberInto(a), numberInto(b)}); break;
    case 3: stored = scanArguments(text, pattern, {numberInto(a)}); break;
    case 4: stored = scanArguments(text, pattern, {charInto(a)}); break;
    default: stored = scanArguments(text, pattern, {charInto(a), charInto(b), wordInto(w1)}); break;
  }
  if (stored < 0 || stored > 3) std::abort();
  if (w1.size() > text.size() || w2.size() > text.size()) std::abort();
  (void)c;
  HexBytes hex = decodeHexPairs(text);
  if (hex.bytes.size() != (text.size() + 1) / 2) std::abort();
  return 0;
}
