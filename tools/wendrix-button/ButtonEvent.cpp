#include "tools/wendrix-button/ButtonEvent.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

constexpr char kPrefix[] = "KVQR.";
constexpr char kSuffix[] = ".plist";
constexpr size_t kNameLength = 25;

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Base64(const unsigned char* bytes, size_t size) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < size; i += 3) {
    const unsigned v = bytes[i] << 16 | (i + 1 < size ? bytes[i + 1] << 8 : 0) | (i + 2 < size ? bytes[i + 2] : 0);
    out += kDigits[v >> 18 & 63];
    out += kDigits[v >> 12 & 63];
    out += i + 1 < size ? kDigits[v >> 6 & 63] : '=';
    out += i + 2 < size ? kDigits[v & 63] : '=';
  }
  return out;
}

bool WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::string ButtonEventContents(const std::string& device, int button) {
  unsigned char data[16] = {static_cast<unsigned char>(button)};
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
         "<plist version=\"1.0\">\n<dict>\n"
         "\t<key>FileID</key>\n\t<string>OstrelZenbo_PushScan</string>\n"
         "\t<key>DeviceName</key>\n\t<string>" + Escaped(device) + "</string>\n"
         "\t<key>EventData</key>\n\t<data>" + Base64(data, sizeof data) + "</data>\n"
         "</dict>\n</plist>\n";
}

std::string ButtonEventName(std::time_t when) {
  std::tm t{};
  localtime_r(&when, &t);
  char name[64];
  std::snprintf(name, sizeof name, "KVQR.%04d%02d%02d%02d%02d%02d.plist", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour,
                t.tm_min, t.tm_sec);
  return name;
}

bool IsButtonDeviceName(const std::string& name) {
  for (size_t i = 0; i < name.size();) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c < 0x80) {
      if (c < 0x20 || c == 0x7f) return false;  // XML 1.0 has no place for control characters
      ++i;
      continue;
    }
    const size_t length = c >= 0xc2 && c <= 0xdf ? 2 : c >= 0xe0 && c <= 0xef ? 3 : c >= 0xf0 && c <= 0xf4 ? 4 : 0;
    if (length == 0 || i + length > name.size()) return false;
    uint32_t code = c & (0x7f >> length);
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(name[i + k]);
      if ((next & 0xc0) != 0x80) return false;
      code = code << 6 | (next & 0x3f);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10ffff)) || (code >= 0xd800 && code <= 0xdfff) ||
        code == 0xfffe || code == 0xffff)
      return false;
    i += length;
  }
  return true;
}

std::string WriteButtonEvent(const std::string& folder, const std::string& device, int button, std::string* error) {
  std::string temp = folder + "/.KVQR-XXXXXX";
  const int fd = mkstemp(temp.data());  // mode 0600
  if (fd < 0) {
    *error = "cannot write in " + folder + ": " + std::strerror(errno);
    return std::string();
  }
  const bool written = WriteAll(fd, ButtonEventContents(device, button)) && fsync(fd) == 0;
  const int writeErrno = errno;
  close(fd);
  std::string path;
  if (!written) {
    *error = "cannot write " + temp + ": " + std::strerror(writeErrno);
  } else {
    // The name carries the second; a push whose second is taken waits for the next one. The
    // name comes from the clock the wait uses: time() may still show the old second after it.
    using std::chrono::system_clock;
    while (path.empty()) {
      const system_clock::time_point now = system_clock::now();
      const std::string candidate = folder + "/" + ButtonEventName(system_clock::to_time_t(now));
      if (link(temp.c_str(), candidate.c_str()) == 0) {
        path = candidate;
      } else if (errno == EEXIST) {
        std::this_thread::sleep_until(std::chrono::floor<std::chrono::seconds>(now) + std::chrono::seconds(1));
      } else {
        *error = "cannot name " + candidate + ": " + std::strerror(errno);
        break;
      }
    }
  }
  unlink(temp.c_str());
  return path;
}

void RemoveOldButtonEvents(const std::string& folder, std::time_t now) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() != kNameLength || name.compare(0, sizeof kPrefix - 1, kPrefix) != 0 ||
        name.compare(name.size() - (sizeof kSuffix - 1), sizeof kSuffix - 1, kSuffix) != 0)
      continue;
    const std::string path = folder + "/" + name;
    struct stat st;
    if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == getuid() && st.st_mtime < now - 60)
      unlink(path.c_str());
  }
  closedir(dir);
}
