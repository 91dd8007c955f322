// The process's command line as one string: the arguments after the program
// name joined by single blanks, an argument that holds a blank put between
// double quotes, behind the program's own name.
#pragma once

#include <string>

namespace bytewarp {

std::string joinArguments(int argc, const char* const* argv);
std::string processCommandLine(int argc, const char* const* argv);

}  // namespace bytewarp
