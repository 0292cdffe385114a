// A backend that plays a script, for tests: remotes that appear after a given
// number of listings, queues of inputs, an expansion to plug, lights that may
// be refused. It counts what the stand-in asks of it, so a test can tell a
// poll that waited from one that spun. Every member may be called from any
// thread: a test scripts and reads while a polling thread plays.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "platform/wiiuse/backend.h"

class ScriptedBackend : public WiimoteBackend {
 public:
  struct Counts {
    int lists;      // list() calls
    int sleeps;     // sleep() calls
    int sleptMs;    // milliseconds asked of sleep()
    int waits;      // next() calls with a time-out that found nothing
    int pending;    // inputs not yet read, all remotes
    int opened;     // devices opened
    int openTries;  // open() calls, refused ones included
  };

  // A remote listed from the `listedFrom`-th listing on (0: the first).
  // One that may not be opened stands for a device the player cannot read.
  void addRemote(const std::string& name, int listedFrom = 0, bool openable = true);
  // The named remote's next `count` opens are refused, as while its button
  // device or the permission on it is not there yet.
  void refuseOpens(const std::string& name, int count);

  // Inputs appended to the named remote's queue.
  void button(const std::string& name, unsigned short bit, bool down);
  void motion(const std::string& name, int x, int y, int z);
  // Sets the expansion the kernel reports and queues the watch input.
  void plug(const std::string& name, const std::string& extension);
  // The remote disconnects: it is listed no more, and its device delivers
  // the inputs queued so far, then the disconnection.
  void disconnect(const std::string& name);
  // A disconnected remote connects again: listed again, with its inputs
  // not yet read dropped and its lights all off, as a remote switched on.
  void reconnect(const std::string& name);

  void setBattery(const std::string& name, int percent);
  void refuseLeds(bool refuse);
  // The lights as last set, 1 to 4; with refusals on, they stay as they were.
  std::vector<bool> leds(const std::string& name);
  bool motionOn(const std::string& name);
  Counts counts();

  std::vector<std::string> list() override;
  // A refusal's reason is "Permission denied".
  WiimoteDevice* open(const std::string& name, std::string& error) override;
  // Counts the request and pauses a millisecond at most, so a loop of polls
  // on a script does not spin, and a search time-out of seconds costs little.
  void sleep(int ms) override;

 private:
  struct Remote {
    std::string name;
    int listedFrom;
    bool openable;
    int refusedOpens = 0;
    bool gone = false;
    std::deque<WiimoteInput> inputs;
    std::string extension = "none";
    int battery = 100;
    std::vector<bool> leds = std::vector<bool>(4, false);
    bool motion = false;
  };
  class Device;

  Remote* find(const std::string& name);
  void push(const std::string& name, const WiimoteInput& input);

  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<Remote> remotes_;
  bool refuseLeds_ = false;
  Counts counts_ = {};
};
