#include <cinttypes>

#include "front/arguments.h"
#include "front/commands.h"
#include "front/format.h"
#include "front/run_frame.h"
#include "ops/bits/byte_maps.h"
#include "ops/bits/transpose.h"

namespace bytewarp {

int runBitRewrite(RunState& s) {
  if (!startOutput(s)) return 0;
  Stream& in = *s.input;
  Stream& out = *s.output;
  switch (s.switchLetter) {
    case 'm':
      complementBytes(in, out);
      s.message = "File complemented...";
      break;
    case 'u':
    case 'l': {
      bool upper = s.switchLetter == 'u';
      packPairs(in, out, upper ? PairRule::UpperNibbles : PairRule::LowerNibbles);
      s.message = format("%s nipples extracted...", upper ? "Upper" : "Lower");
      break;
    }
    default: {
      bool odd = s.switchLetter == '-';
      packPairs(in, out, odd ? PairRule::OddBits : PairRule::EvenBits);
      s.message = format("%s bits extracted...", odd ? "Odd" : "Even");
      break;
    }
  }
  return reportAndFinish(s);
}

int runTranspose(RunState& s) {
  if (!s.argLine) return showUsage(s);
  int32_t blockSize = 0;
  if (scanArguments(*s.argLine, "%I", {numberInto(blockSize)}) < 1) return showUsage(s);
  if (!startOutput(s)) return 0;
  if (blockSize == 0) {
    reverseBitsPerByte(*s.input, *s.output);
    s.message = "Bits transposed...";
  } else if (blockSize == 1) {
    swapNibblesPerByte(*s.input, *s.output);
    s.message = "Nipples swapped...";
  } else {
    // Any negative size stands for the whole file.
    const int64_t block = blockSize < 0 ? s.inputSize : blockSize;
    int64_t blocks = reverseBlocks(*s.input, *s.output, block, s.inputSize);
    s.message = format("%" PRId64 " blocks of %" PRId64 " bytes transposed...", blocks, block);
  }
  return reportAndFinish(s);
}

}  // namespace bytewarp
