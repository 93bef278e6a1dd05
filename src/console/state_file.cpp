#include "state_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

bool Fail(std::string *error, const std::string &what, const std::string &path) {
  *error = what + " " + path + ": " + std::strerror(errno);
  return false;
}

bool MakeDirectories(const std::string &dir, std::string *error) {
  for (std::size_t at = dir.find('/', 1);; at = dir.find('/', at + 1)) {
    std::string prefix = dir.substr(0, at);
    if (mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return Fail(error, "cannot create", prefix);
    if (at == std::string::npos) return true;
  }
}

}  // namespace

bool StateFilePath(std::string *path, std::string *error) {
  const char *state = std::getenv("XDG_STATE_HOME");
  std::string base;
  if (state && state[0] == '/') {
    base = state;
  } else {
    const char *home = std::getenv("HOME");
    if (!home || home[0] != '/') {
      *error = "neither XDG_STATE_HOME nor HOME names a directory to keep the registry in";
      return false;
    }
    base = std::string(home) + "/.local/state";
  }
  *path = base + "/mizona/registry.reg";
  return true;
}

bool ReadStateFile(const std::string &path, std::string *text, std::string *error) {
  text->clear();
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? true : Fail(error, "cannot open", path);
  char buf[4096];
  for (;;) {
    ssize_t n = read(fd, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(error, "cannot read", path);
      close(fd);
      return false;
    }
    text->append(buf, static_cast<std::size_t>(n));
  }
  close(fd);
  return true;
}

bool ReplaceStateFile(const std::string &path, const std::string &text, std::string *error) {
  std::string dir = path.substr(0, path.rfind('/'));
  if (!MakeDirectories(dir, error)) return false;
  std::string temp = path + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) return Fail(error, "cannot create a temporary file in", dir);
  const char *p = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    ssize_t n = write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      Fail(error, "cannot write", temp);
      close(fd);
      unlink(temp.c_str());
      return false;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  if (fsync(fd) != 0 || close(fd) != 0) {
    Fail(error, "cannot write", temp);
    unlink(temp.c_str());
    return false;
  }
  if (rename(temp.c_str(), path.c_str()) != 0) {
    Fail(error, "cannot replace", path);
    unlink(temp.c_str());
    return false;
  }
  return true;
}
