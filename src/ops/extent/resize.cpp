#include "ops/extent/resize.h"

#include <cerrno>
#include <sys/stat.h>

#include "platform/file_ops.h"

namespace bytewarp {

bool changeFileSize(Stream& file, int64_t target, int64_t& newLength, int& err) {
  if (target < 0) {
    err = EINVAL;
    return false;
  }
  struct stat st {};
  if (!fileops::setLength(file.fd(), target) || !fileops::syncFile(file.fd()) || !fileops::statFile(file.fd(), st)) {
    err = fileops::lastError();
    return false;
  }
  newLength = st.st_size;
  return true;
}

}  // namespace bytewarp
