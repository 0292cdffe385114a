#include "platform/wiiuse/backend.h"

WiimoteBackend* systemBackend() {
  return xwiimoteBackend();
}
