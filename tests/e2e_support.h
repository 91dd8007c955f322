// Runs the built tool as a user would, in a private temporary folder.
#pragma once

#include <string>
#include <vector>

namespace bytewarp::testing {

struct Outcome {
  int exitCode = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

class Sandbox {
 public:
  Sandbox();
  ~Sandbox();
  const std::string& dir() const { return dir_; }
  std::string path(const std::string& name) const { return dir_ + "/" + name; }

  void write(const std::string& name, const std::string& content) const;
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;
  // The names in the folder, sorted.
  std::vector<std::string> names() const;

  // Runs the tool with these arguments, in the folder.
  Outcome run(const std::vector<std::string>& args) const;

 private:
  std::string dir_;
};

// The information box as it appears on standard output.
std::string infoBox(const std::string& caption, const std::string& text);
std::string usageBox();  // the usage text as it appears on standard error

}  // namespace bytewarp::testing
