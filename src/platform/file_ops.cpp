#include "platform/file_ops.h"

#include <array>
#include <atomic>
#include <csignal>
#include <sys/mman.h>
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

namespace {

// The one mapping being read; a fault inside it is survivable.
std::atomic<const uint8_t*> mappedAt{nullptr};
std::atomic<size_t> mappedLength{0};
volatile std::sig_atomic_t mapFault = 0;

void onBusError(int sig, siginfo_t* info, void*) {
  auto addr = static_cast<const uint8_t*>(info->si_addr);
  const uint8_t* base = mappedAt.load();
  if (base != nullptr && addr >= base && addr < base + mappedLength.load()) {
    // Put a page of zeros in place of the lost one and note the failure.
    auto page = reinterpret_cast<uintptr_t>(addr) & ~(static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE)) - 1);
    if (::mmap(reinterpret_cast<void*>(page), static_cast<size_t>(::sysconf(_SC_PAGESIZE)), PROT_READ,
               MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
      mapFault = 1;
      return;
    }
  }
  ::signal(sig, SIG_DFL);
  ::raise(sig);
}

void watchBusErrors() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  struct sigaction sa {};
  sa.sa_sigaction = onBusError;
  sa.sa_flags = SA_SIGINFO;
  sigemptyset(&sa.sa_mask);
  ::sigaction(SIGBUS, &sa, nullptr);
}

}  // namespace

const uint8_t* mapForReading(int fd, int64_t pos, size_t length) {
  if (injected(Call::Read)) return nullptr;
  watchBusErrors();
  void* at = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, pos);
  if (at == MAP_FAILED) {
    lastErrno = errno;
    return nullptr;
  }
  ::madvise(at, length, MADV_SEQUENTIAL);
  mappedLength = length;
  mappedAt = static_cast<const uint8_t*>(at);
  return static_cast<const uint8_t*>(at);
}

void unmap(const uint8_t* at, size_t length) {
  if (at == nullptr) return;
  mappedAt = nullptr;
  ::munmap(const_cast<uint8_t*>(at), length);
}

bool takeMapFault() {
  bool fault = mapFault != 0;
  mapFault = 0;
  return fault;
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
