// Cutting the input into numbered chunk files.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "platform/stream.h"

namespace bytewarp {

struct SplitPlan {
  int64_t chunkSize;
  int64_t chunks;
};

inline constexpr int64_t kMaxChunks = 999;

// A positive `length` is the chunk size, a negative one the number of
// chunks; `length` must not be 0.
SplitPlan planSplit(int64_t inputSize, int64_t length);

enum class SplitOutcome { Done, CreateFailed, IoFailed };

// Opens chunk file k (from 1); null with `err` set when it cannot be created.
using ChunkOpener = std::function<std::unique_ptr<Stream>(int64_t k, int& err)>;

// Writes the chunks in order, each closed before the next is created.
SplitOutcome splitIntoChunks(Stream& in, const SplitPlan& plan, const ChunkOpener& open, int& err);

}  // namespace bytewarp
