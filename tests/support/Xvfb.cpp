#include "support/Xvfb.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "support/TestEnv.h"

namespace wxtest {

Xvfb& Xvfb::Get() {
  static Xvfb server;
  return server;
}

Xvfb::Xvfb() {
  if (!HaveTool("Xvfb")) return;
  int fds[2];
  if (pipe(fds) != 0) return;
  mPid = fork();
  if (mPid == 0) {
    // A test binary that is killed must not leave its server behind.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    close(fds[0]);
    const std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "800x600x24", "-nolisten", "tcp", nullptr);
    _exit(127);
  }
  close(fds[1]);
  if (mPid < 0) {
    close(fds[0]);
    return;
  }
  // The server writes its display number and a newline once it accepts connections; the
  // pipe stays open for the server's life.
  mPipe = fds[0];
  std::string number;
  char c;
  while (read(mPipe, &c, 1) == 1 && c != '\n') number += c;
  if (!number.empty()) mDisplay = std::atoi(number.c_str());
}

Xvfb::~Xvfb() {
  Stop();
  if (mPipe >= 0) close(mPipe);
}

void Xvfb::Stop() {
  if (mPid > 0) {
    kill(mPid, SIGTERM);
    waitpid(mPid, nullptr, 0);
  }
  mPid = -1;
}

}  // namespace wxtest
