#include "in_process.h"

#include <unistd.h>

#include "e2e_support.h"
#include "front/commands.h"

namespace bytewarp::testing {

InProcessRun runInFolder(const std::string& line, const std::map<std::string, std::string>& files,
                         const StreamOptions& options) {
  Sandbox box;
  for (const auto& [name, content] : files) box.write(name, content);
  InProcessRun run;
  setBoxSink([&run](std::string_view text, std::string_view caption, BoxIcon icon) {
    run.boxes.push_back({std::string(caption), std::string(text), icon});
  });
  char here[4096];
  if (!::getcwd(here, sizeof here) || ::chdir(box.dir().c_str()) != 0) return run;
  run.exitCode = runCommand(line, options);
  if (::chdir(here) != 0) run.exitCode = -2;
  setBoxSink({});
  for (const auto& name : box.names()) run.files[name] = box.read(name);
  return run;
}

}  // namespace bytewarp::testing
