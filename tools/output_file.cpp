#include "output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "draw/qt/qt_graphics.h"

namespace {

bool Fail(const std::string& path, int error, std::string& message) {
  message = "cannot write '" + path + "': " + std::strerror(error);
  return false;
}

// All of `bytes`, through short writes and interruptions.
bool WriteAll(int fd, const std::string& bytes) {
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += size_t(n);
  }
  return true;
}

}  // namespace

bool WriteOutputFile(const std::string& path, const std::string& bytes, std::string& error) {
  struct stat existing;
  const bool exists = stat(path.c_str(), &existing) == 0;
  if (exists && !S_ISREG(existing.st_mode)) {
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return Fail(path, errno, error);
    const bool written = WriteAll(fd, bytes);
    const int writeError = errno;
    if (close(fd) != 0 && written) return Fail(path, errno, error);
    return written || Fail(path, writeError, error);
  }

  std::vector<char> temporary(path.begin(), path.end());
  const char suffix[] = ".XXXXXX";
  temporary.insert(temporary.end(), suffix, suffix + sizeof suffix);  // with its NUL
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return Fail(path, errno, error);
  // The permissions a new file gets, or those of the file it replaces.
  mode_t mode = existing.st_mode & 07777;
  if (!exists) {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  bool ok = fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && fsync(fd) == 0;
  int failure = ok ? 0 : errno;
  if (close(fd) != 0 && ok) {
    ok = false;
    failure = errno;
  }
  if (ok && rename(temporary.data(), path.c_str()) != 0) {
    ok = false;
    failure = errno;
  }
  if (!ok) {
    unlink(temporary.data());
    return Fail(path, failure, error);
  }
  return true;
}

bool WritePng(const QImage& image, const std::string& path, std::string& error) {
  std::string bytes;
  if (!draw::EncodePng(image, bytes)) {
    error = "cannot make a PNG of the picture for '" + path + "'";
    return false;
  }
  return WriteOutputFile(path, bytes, error);
}
