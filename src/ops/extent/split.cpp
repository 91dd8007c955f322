#include "ops/extent/split.h"

namespace bytewarp {

SplitPlan planSplit(int64_t inputSize, int64_t length) {
  if (length > 0) return {length, inputSize / length + (inputSize % length != 0)};
  int64_t chunks = -length;
  return {inputSize / chunks + (inputSize % chunks != 0), chunks};
}

SplitOutcome splitIntoChunks(Stream& in, const SplitPlan& plan, const ChunkOpener& open, int& err) {
  for (int64_t k = 1; k <= plan.chunks; ++k) {
    auto chunk = open(k, err);
    if (!chunk) return SplitOutcome::CreateFailed;
    copyBytes(in, *chunk, plan.chunkSize);
    if (in.failed()) {
      err = in.error();
      return SplitOutcome::IoFailed;
    }
    if (!chunk->close()) {
      err = chunk->error();
      return SplitOutcome::IoFailed;
    }
  }
  return SplitOutcome::Done;
}

}  // namespace bytewarp
