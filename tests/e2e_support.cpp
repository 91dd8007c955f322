#include "e2e_support.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "front/run_frame.h"

namespace bytewarp::testing {

namespace {

std::string slurp(int fd) {
  std::string s;
  char buf[4096];
  ssize_t r;
  while ((r = ::read(fd, buf, sizeof buf)) > 0) s.append(buf, static_cast<size_t>(r));
  return s;
}

void removeTree(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return;
  if (S_ISDIR(st.st_mode)) {
    if (DIR* d = ::opendir(path.c_str())) {
      while (dirent* e = ::readdir(d)) {
        std::string n = e->d_name;
        if (n != "." && n != "..") removeTree(path + "/" + n);
      }
      ::closedir(d);
    }
    ::rmdir(path.c_str());
  } else {
    ::unlink(path.c_str());
  }
}

}  // namespace

Sandbox::Sandbox() {
  char tmpl[] = "/tmp/bytewarp-e2e-XXXXXX";
  if (!::mkdtemp(tmpl)) throw std::runtime_error("mkdtemp");
  dir_ = tmpl;
}

Sandbox::~Sandbox() { removeTree(dir_); }

void Sandbox::write(const std::string& name, const std::string& content) const {
  std::ofstream(path(name), std::ios::binary) << content;
}

std::string Sandbox::read(const std::string& name) const {
  std::ifstream f(path(name), std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

bool Sandbox::exists(const std::string& name) const {
  struct stat st {};
  return ::lstat(path(name).c_str(), &st) == 0;
}

std::vector<std::string> Sandbox::names() const {
  std::vector<std::string> out;
  if (DIR* d = ::opendir(dir_.c_str())) {
    while (dirent* e = ::readdir(d)) {
      std::string n = e->d_name;
      if (n != "." && n != "..") out.push_back(n);
    }
    ::closedir(d);
  }
  std::sort(out.begin(), out.end());
  return out;
}

Outcome Sandbox::run(const std::vector<std::string>& args) const {
  char outName[] = "/tmp/bytewarp-out-XXXXXX", errName[] = "/tmp/bytewarp-err-XXXXXX";
  int outFd = ::mkstemp(outName), errFd = ::mkstemp(errName);
  ::unlink(outName);
  ::unlink(errName);
  pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(outFd, 1);
    ::dup2(errFd, 2);
    if (::chdir(dir_.c_str()) != 0) ::_exit(127);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(BYTEWARP_BINARY));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(BYTEWARP_BINARY, argv.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  Outcome o;
  o.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  ::lseek(outFd, 0, SEEK_SET);
  ::lseek(errFd, 0, SEEK_SET);
  o.out = slurp(outFd);
  o.err = slurp(errFd);
  ::close(outFd);
  ::close(errFd);
  return o;
}

std::string infoBox(const std::string& caption, const std::string& text) {
  return caption + "\n" + text + (text.empty() || text.back() != '\n' ? "\n" : "");
}

std::string usageBox() { return std::string("Bytewarp\n") + kUsageText; }

}  // namespace bytewarp::testing
