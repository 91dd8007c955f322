// What one run shares: the names, the switch and its argument line, the two
// streams and the message shown at the end.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>

#include "platform/stream.h"

namespace bytewarp {

struct RunState {
  std::string inputName;
  std::string outputName;
  std::string message;
  int32_t switchLetter = 0;  // an unsigned 8-bit code
  bool overwrite = false;
  bool swapMode = false;
  std::optional<std::string> argLine;

  int64_t inputSize = 0;
  struct stat inputStat {};
  std::unique_ptr<Stream> input;
  std::unique_ptr<Stream> output;
  bool outputCreated = false;  // this run made the output file (it did not exist)

  StreamOptions streamOptions;
};

}  // namespace bytewarp
