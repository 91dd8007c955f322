// Runs whole command lines inside the test process, in a private folder,
// collecting the boxes instead of printing them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "platform/stream.h"

namespace bytewarp::testing {

struct Box {
  std::string caption, text;
  BoxIcon icon;
  bool operator==(const Box&) const = default;
};

struct InProcessRun {
  int exitCode = -1;
  std::vector<Box> boxes;
  std::map<std::string, std::string> files;  // every file left in the folder
};

// Writes `files` into a new folder, runs `line` there and reads back what is left.
InProcessRun runInFolder(const std::string& line, const std::map<std::string, std::string>& files,
                         const StreamOptions& options = {});

}  // namespace bytewarp::testing
