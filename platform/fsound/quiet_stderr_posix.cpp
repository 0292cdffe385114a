#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "platform/fsound/quiet_stderr.h"

QuietStderr::QuietStderr() {
  int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (null < 0) return;
  fflush(stderr);
  saved = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
  if (saved >= 0) dup2(null, STDERR_FILENO);
  close(null);
}

QuietStderr::~QuietStderr() {
  if (saved < 0) return;
  fflush(stderr);
  dup2(saved, STDERR_FILENO);
  close(saved);
}
