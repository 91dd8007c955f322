#include "platform/file_ops.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

namespace bytewarp::fileops {
namespace {

struct Fault {
  long remaining = 0;  // 0: not armed
  int err = 0;
};

std::array<Fault, static_cast<size_t>(Call::kCount)> faults;
bool anyArmed = false;
int lastErrno = 0;

// True when this call has to fail; errno is then set.
bool injected(Call call) {
  if (!anyArmed) return false;
  Fault& f = faults[static_cast<size_t>(call)];
  if (f.remaining == 0) return false;
  if (--f.remaining != 0) return false;
  errno = f.err;
  lastErrno = f.err;
  return true;
}

template <typename T>
T record(T result, T failure) {
  if (result == failure) lastErrno = errno;
  return result;
}

bool recordOk(int rc) {
  if (rc != 0) {
    lastErrno = errno;
    return false;
  }
  return true;
}

}  // namespace

void failNth(Call call, int n, int err) {
  faults[static_cast<size_t>(call)] = Fault{n, err};
  anyArmed = true;
}

void clearFaults() {
  faults = {};
  anyArmed = false;
}

int lastError() { return lastErrno; }

int openExisting(const std::string& name, int flags) {
  if (injected(Call::Open)) return -1;
  int fd;
  do fd = ::open(name.c_str(), flags | O_CLOEXEC);
  while (fd < 0 && errno == EINTR);
  return record(fd, -1);
}

int createFile(const std::string& name, bool exclusive) {
  if (injected(Call::Create)) return -1;
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (exclusive ? O_EXCL : 0);
  int fd;
  do fd = ::open(name.c_str(), flags, 0666);
  while (fd < 0 && errno == EINTR);
  return record(fd, -1);
}

ssize_t readAt(int fd, void* buf, size_t n, int64_t pos) {
  if (injected(Call::Read)) return -1;
  ssize_t r;
  do r = ::pread(fd, buf, n, pos);
  while (r < 0 && errno == EINTR);
  return record<ssize_t>(r, -1);
}

ssize_t writeAt(int fd, const void* buf, size_t n, int64_t pos) {
  if (injected(Call::Write)) return -1;
  ssize_t r;
  do r = ::pwrite(fd, buf, n, pos);
  while (r < 0 && errno == EINTR);
  return record<ssize_t>(r, -1);
}

ssize_t copyRange(int fromFd, int64_t fromPos, int toFd, int64_t toPos, size_t n) {
  if (injected(Call::Read)) return -1;
  loff_t in = fromPos, out = toPos;
  ssize_t r;
  do r = ::copy_file_range(fromFd, &in, toFd, &out, n, 0);
  while (r < 0 && errno == EINTR);
  return r;  // the caller decides whether a failure is an error or a fallback
}

bool syncFile(int fd) {
  if (injected(Call::Sync)) return false;
  return recordOk(::fsync(fd));
}

bool setLength(int fd, int64_t length) {
  if (injected(Call::SetLength)) return false;
  return recordOk(::ftruncate(fd, length));
}

bool renameNoReplace(const std::string& from, const std::string& to) {
  if (injected(Call::Rename)) return false;
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return recordOk(-1);
  // The filesystem cannot rename without replacing: a hard link refuses an
  // existing target just the same.
  if (::link(from.c_str(), to.c_str()) != 0) return recordOk(-1);
  if (::unlink(from.c_str()) != 0) {
    int err = errno;
    ::unlink(to.c_str());
    errno = err;
    return recordOk(-1);
  }
  return true;
}

bool renameReplace(const std::string& from, const std::string& to) {
  if (injected(Call::Rename)) return false;
  return recordOk(::rename(from.c_str(), to.c_str()));
}

bool removeFile(const std::string& name) {
  if (injected(Call::Delete)) return false;
  return recordOk(::unlink(name.c_str()));
}

bool closeFile(int fd) {
  if (fd < 0) return true;
  if (injected(Call::Close)) {
    ::close(fd);  // release the descriptor all the same
    return false;
  }
  // Linux releases the descriptor even when close reports an error, so it is not retried.
  return recordOk(::close(fd));
}

bool statFile(int fd, struct stat& st) {
  if (injected(Call::Stat)) return false;
  return recordOk(::fstat(fd, &st));
}

bool copyPermissions(int fd, const struct stat& like) {
  if (injected(Call::Stat)) return false;
  // Only root may give a file away; anyone else keeps the output as their own.
  if (::fchown(fd, like.st_uid, like.st_gid) != 0) errno = 0;
  return recordOk(::fchmod(fd, like.st_mode & 07777));
}

bool syncFolderOf(const std::string& name) {
  std::string folder = ".";
  if (auto slash = name.find_last_of('/'); slash != std::string::npos)
    folder = slash == 0 ? "/" : name.substr(0, slash);
  if (injected(Call::Sync)) return false;
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return recordOk(-1);
  bool ok = recordOk(::fsync(fd));
  ::close(fd);
  return ok;
}

}  // namespace bytewarp::fileops
