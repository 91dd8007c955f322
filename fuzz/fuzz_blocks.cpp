// The same run with a stream block of a few bytes and with the normal block
// must leave identical files and messages.
#include <cstdio>

#include "harness.h"

using namespace bytewarp;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto prepared = fuzz::prepare(data, size);
  if (!prepared) return 0;
  const auto& [c, name] = *prepared;
  auto normal = fuzz::runCase(c, name, StreamOptions{});
  auto small = fuzz::runCase(c, name, StreamOptions{1 + size % 7, false});
  if (!(*normal == *small)) {
    std::fprintf(stderr, "block size changed the result of: %s\n", c.line.c_str());
    std::abort();
  }
  return 0;
}
