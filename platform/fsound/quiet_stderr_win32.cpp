#include "platform/fsound/quiet_stderr.h"

QuietStderr::QuietStderr() {}

QuietStderr::~QuietStderr() {}
