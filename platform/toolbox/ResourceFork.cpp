#include "toolbox/ResourceFork.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>

#include "toolbox/FileReplacement.h"
#include "toolbox/MacErrors.h"

namespace {

OSErr errnoToOSErr(int e) {
  switch (e) {
    case ENOENT: return fnfErr;
    case ENOTDIR: return dirNFErr;
    case EACCES:
    case EPERM: return permErr;
    case EROFS: return wPrErr;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return dskFulErr;
    case ENOMEM: return memFullErr;
    default: return ioErr;
  }
}

bool exists(const std::string& path) {
  struct stat st{};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

OSErr readWhole(const std::string& path, std::vector<uint8_t>* bytes) {
  bytes->clear();
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errnoToOSErr(errno);
  struct stat st{};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return ioErr;
  }
  bytes->resize(static_cast<size_t>(st.st_size));
  size_t got = 0;
  while (got < bytes->size()) {
    ssize_t n = read(fd, bytes->data() + got, bytes->size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      OSErr err = n < 0 ? errnoToOSErr(errno) : OSErr(eofErr);
      close(fd);
      return err;
    }
    got += static_cast<size_t>(n);
  }
  close(fd);
  return noErr;
}

void copyAttributes(const std::string& from, int toFd) {
  struct stat st{};
  if (stat(from.c_str(), &st) != 0) return;
  fchmod(toFd, st.st_mode & 07777);
  ssize_t len = listxattr(from.c_str(), nullptr, 0);
  if (len <= 0) return;
  std::string names(static_cast<size_t>(len), '\0');
  len = listxattr(from.c_str(), names.data(), names.size());
  for (size_t at = 0; len > 0 && at < static_cast<size_t>(len); at += names.find('\0', at) - at + 1) {
    const char* name = names.c_str() + at;
    ssize_t vlen = getxattr(from.c_str(), name, nullptr, 0);
    if (vlen < 0) continue;
    std::vector<char> value(static_cast<size_t>(vlen));
    vlen = getxattr(from.c_str(), name, value.data(), value.size());
    if (vlen >= 0) fsetxattr(toFd, name, value.data(), static_cast<size_t>(vlen), 0);
  }
}

}  // namespace

OSErr ResWriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (OSErr err = FSCheckReplaceable(path); err != noErr) return err;
  const size_t slash = path.find_last_of('/');
  std::string temp = path.substr(0, slash + 1) + "." + path.substr(slash + 1) + ".wxtmp-XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) return errnoToOSErr(errno);
  if (exists(path)) {
    copyAttributes(path, fd);
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
  }
  OSErr err = noErr;
  for (size_t done = 0; done < bytes.size() && err == noErr;) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) err = n < 0 ? errnoToOSErr(errno) : OSErr(ioErr);
    else done += static_cast<size_t>(n);
  }
  if (close(fd) != 0 && err == noErr) err = errnoToOSErr(errno);
  if (err == noErr && rename(temp.c_str(), path.c_str()) != 0) err = errnoToOSErr(errno);
  if (err != noErr) unlink(temp.c_str());
  return err;
}

OSErr ResForkLocate(const std::string& filePath, ResFork* fork) {
  *fork = ResFork{};
  const std::string sidecar = AppleDoublePathFor(filePath);
  if (exists(sidecar)) {
    fork->container = sidecar;
    fork->place = ResForkPlace::Sidecar;
    return noErr;
  }
  fork->container = filePath;
  return exists(filePath) ? noErr : fnfErr;
}

OSErr ResForkRead(ResFork* fork, std::vector<uint8_t>* bytes) {
  bytes->clear();
  fork->others.clear();
  std::vector<uint8_t> raw;
  if (OSErr err = readWhole(fork->container, &raw); err != noErr) return err;
  if (fork->place == ResForkPlace::DataFork) {
    *bytes = std::move(raw);
    return noErr;
  }
  std::vector<AppleDoubleEntry> entries;
  if (OSErr err = AppleDoubleParse(raw.data(), raw.size(), &entries); err != noErr) return err;
  for (AppleDoubleEntry& e : entries) {
    if (e.id == kAppleDoubleResourceFork) *bytes = std::move(e.bytes);
    else fork->others.push_back(std::move(e));
  }
  return noErr;
}

OSErr ResForkWrite(const ResFork& fork, const std::vector<uint8_t>& bytes) {
  if (fork.place == ResForkPlace::DataFork) return ResWriteFileAtomically(fork.container, bytes);
  std::vector<AppleDoubleEntry> entries = fork.others;
  entries.push_back(AppleDoubleEntry{kAppleDoubleResourceFork, bytes});
  return ResWriteFileAtomically(fork.container, AppleDoubleBuild(entries));
}

OSErr ResForkWriteImage(const std::string& filePath, ResForkPlace place, const ResFileImage& image) {
  std::vector<uint8_t> bytes;
  if (OSErr err = ResFileBuild(image, &bytes); err != noErr) return err;
  ResFork fork;
  fork.place = place;
  fork.container = place == ResForkPlace::Sidecar ? AppleDoublePathFor(filePath) : filePath;
  if (place == ResForkPlace::Sidecar && exists(fork.container)) {
    std::vector<uint8_t> old;
    if (ResForkRead(&fork, &old) != noErr) fork.others.clear();
  }
  return ResForkWrite(fork, bytes);
}

OSErr ResForkReadImage(const std::string& filePath, ResFileImage* image) {
  ResFork fork;
  std::vector<uint8_t> bytes;
  if (OSErr err = ResForkLocate(filePath, &fork); err != noErr) return err;
  if (OSErr err = ResForkRead(&fork, &bytes); err != noErr) return err;
  if (bytes.empty()) return eofErr;
  return ResFileParse(bytes.data(), bytes.size(), image);
}
