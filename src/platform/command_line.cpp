#include "platform/command_line.h"

#include <cstring>

namespace bytewarp {

std::string joinArguments(int argc, const char* const* argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    if (std::strchr(argv[i], ' ') != nullptr) {
      line.append("\"").append(argv[i]).append("\"");
    } else {
      line += argv[i];
    }
  }
  return line;
}

std::string processCommandLine(int argc, const char* const* argv) {
  // The name the program was started by is removed again before parsing, so
  // a fixed one stands in for it: argv[0] may hold anything.
  return "bytewarp " + joinArguments(argc, argv);
}

}  // namespace bytewarp
