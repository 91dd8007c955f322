// Whole runs of the tool with a fuzzed command line on a small fuzzed file.
#include "harness.h"

using namespace bytewarp;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto prepared = fuzz::prepare(data, size);
  if (!prepared) return 0;
  auto r = fuzz::runCase(prepared->first, prepared->second, StreamOptions{static_cast<size_t>(1 + data[0] % 9), data[0] % 2 == 0});
  if (r->exitCode != 0 && r->exitCode != 1) std::abort();
  return 0;
}
