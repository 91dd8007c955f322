#include <cinttypes>

#include "front/arguments.h"
#include "front/commands.h"
#include "front/format.h"
#include "front/run_frame.h"
#include "ops/extent/resize.h"
#include "ops/extent/split.h"
#include "ops/extent/windows.h"
#include "platform/message_box.h"

namespace bytewarp {

int runCropRemoveExtract(RunState& s) {
  if (!s.argLine) return showUsage(s);
  int32_t first = 0, second = 0;
  if (scanArguments(*s.argLine, "%I %I", {numberInto(first), numberInto(second)}) < 2 || second < 1)
    return showUsage(s);
  if (!startOutput(s)) return 0;
  Stream& in = *s.input;
  Stream& out = *s.output;
  if (s.switchLetter == 'e') {
    int64_t dropped = extractPerBlock(in, out, first, second);
    s.message = format("%" PRId64 " bytes extracted...", s.inputSize - dropped);
  } else if (s.switchLetter == 'c') {
    int64_t kept = cropBytes(in, out, first, second);
    s.message = format("%" PRId64 " bytes cropped...", kept);
  } else {
    removeBytes(in, out, first, second);
    out.flush();  // a failure here is reported by reportAndFinish
    s.message = format("%" PRId64 " bytes removed...", s.inputSize - out.written());
  }
  return reportAndFinish(s);
}

int runSplit(RunState& s) {
  if (!s.argLine) return showUsage(s);
  int32_t length = 0;
  if (scanArguments(*s.argLine, "%I", {numberInto(length)}) < 1 || length == 0) return showUsage(s);
  discardOutput(s);

  SplitPlan plan = planSplit(s.inputSize, length);
  if (plan.chunks > kMaxChunks) {
    showBox("Invalid length", s.inputName, BoxIcon::Warning);
    return 0;
  }
  auto openChunk = [&s](int64_t k, int& err) {
    return createCompanion(s, format("%s.%03" PRId64, s.inputName.c_str(), k), err);
  };
  int err = 0;
  switch (splitIntoChunks(*s.input, plan, openChunk, err)) {
    case SplitOutcome::CreateFailed: return failWith("Error Opening Output File", err);
    case SplitOutcome::IoFailed: return failWith("I/O Error", err);
    case SplitOutcome::Done: break;
  }
  showBox(format("File splitted to %" PRId64 " chunks of %" PRId64 " bytes...", plan.chunks, plan.chunkSize),
          s.inputName, BoxIcon::Information);
  return 1;
}

int runChangeFileSize(RunState& s) {
  if (!s.argLine) return showUsage(s);
  int32_t size = 0;
  if (scanArguments(*s.argLine, "%I", {numberInto(size)}) < 1) return showUsage(s);
  discardOutput(s);
  const int64_t target = size < 0 ? s.inputSize + size : size;
  int64_t newLength = 0;
  int err = 0;
  if (!changeFileSize(*s.input, target, newLength, err)) return failWith("Error Changing File Size", err);
  showBox(format("File size changed from %" PRId64 " to %" PRId64 ".", s.inputSize, newLength), s.inputName,
          BoxIcon::Information);
  return 1;
}

}  // namespace bytewarp
