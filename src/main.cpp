#include "front/commands.h"
#include "front/tokenizer.h"
#include "platform/command_line.h"

int main(int argc, char** argv) {
  std::string line = bytewarp::processCommandLine(argc, argv);
  return bytewarp::runCommand(std::string(bytewarp::stripProgramName(line)));
}
