// What printing tests share: a private cupsd with one queue that writes a file,
// and a job printed from start to end.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "printing/Printing.h"
#include "quickdraw/QuickDraw.h"
#include "support/PrinterEnvironment.h"

namespace printtest {

using wxtest::PrinterEnvironment;

// cupsd on a socket in `dir`, with its own configuration, spool and logs there. Started() is
// false (and Why() tells) where cupsd is missing or would not start.
class PrivateCupsd {
 public:
  explicit PrivateCupsd(const std::filesystem::path& dir);
  ~PrivateCupsd();
  PrivateCupsd(const PrivateCupsd&) = delete;
  PrivateCupsd& operator=(const PrivateCupsd&) = delete;

  bool Started() const { return mPid > 0; }
  const std::string& Why() const { return mWhy; }
  std::string Socket() const { return (mDir / "cups.sock").string(); }
  // A queue whose device is `file` and which passes PDFs through as they are; its removal.
  bool AddFileQueue(const std::string& name, const std::filesystem::path& file);
  bool RemoveQueue(const std::string& name);
  // The completed or pending jobs' attribute (e.g. "copies") of the newest job, as text.
  std::string NewestJobAttribute(const std::string& attribute);

 private:
  std::filesystem::path mDir;
  int mPid = -1;
  std::string mWhy;
};

// Prints one page at the session's current printer with its default format changed by
// `setUp`, drawing with `draw` into the page's port; the error of the first failing step.
OSStatus PrintOnePage(PMPrintSession session, const std::function<void(PMPageFormat)>& setUp,
                      const std::function<void(GrafPtr)>& draw, UInt32 copies = 1, bool collate = true);

}  // namespace printtest
