#include "tests/input/wiimote_test_util.h"

#include <chrono>
#include <thread>

#include "input/wiimote.h"

using std::chrono::milliseconds;

int askedSoFar(ScriptedBackend& backend) {
  ScriptedBackend::Counts counts = backend.counts();
  return counts.waits + counts.sleeps;
}

bool waitUntil(const std::function<bool()>& done) {
  for (int i = 0; i < 5000 && !done(); ++i) std::this_thread::sleep_for(milliseconds(1));
  return done();
}

bool waitUntilAsked(ScriptedBackend& backend, int count) {
  return waitUntil([&] { return askedSoFar(backend) > count; });
}

void pollUntilScriptRead(ScriptedBackend& backend) {
  pollStop = 0;
  std::thread loop(wiimotePollThread, nullptr);
  // The script is read once nothing is pending and a later poll has waited.
  for (int i = 0; i < 5000 && backend.counts().pending > 0; ++i) {
    std::this_thread::sleep_for(milliseconds(1));
  }
  waitUntilAsked(backend, askedSoFar(backend) + 1);
  pollStop = 1;
  loop.join();
}

void stopDetachedPollThread(ScriptedBackend& backend) {
  pollStop = 1;
  int stable = 0;
  int last = askedSoFar(backend);
  while (stable < 5) {
    std::this_thread::sleep_for(milliseconds(20));
    int now = askedSoFar(backend);
    stable = now == last ? stable + 1 : 0;
    last = now;
  }
}
