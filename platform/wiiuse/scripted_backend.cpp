#include "platform/wiiuse/scripted_backend.h"

#include <chrono>
#include <thread>

class ScriptedBackend::Device : public WiimoteDevice {
 public:
  Device(ScriptedBackend& backend, Remote& remote) : backend_(backend), remote_(remote) {}

  bool next(WiimoteInput& input, int timeoutMs) override {
    std::unique_lock<std::mutex> lock(backend_.mutex_);
    if (remote_.inputs.empty() && timeoutMs > 0) {
      ++backend_.counts_.waits;
      backend_.arrived_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                 [this] { return !remote_.inputs.empty(); });
    }
    if (remote_.inputs.empty()) return false;
    input = remote_.inputs.front();
    remote_.inputs.pop_front();
    --backend_.counts_.pending;
    return true;
  }

  std::string extension() override {
    std::lock_guard<std::mutex> lock(backend_.mutex_);
    return remote_.extension;
  }

  int battery() override {
    std::lock_guard<std::mutex> lock(backend_.mutex_);
    return remote_.battery;
  }

  bool setLed(int number, bool on) override {
    std::lock_guard<std::mutex> lock(backend_.mutex_);
    if (backend_.refuseLeds_ || number < 1 || number > 4) return false;
    remote_.leds[static_cast<size_t>(number - 1)] = on;
    return true;
  }

  void setMotion(bool on) override {
    std::lock_guard<std::mutex> lock(backend_.mutex_);
    remote_.motion = on;
  }

 private:
  ScriptedBackend& backend_;
  Remote& remote_;
};

ScriptedBackend::Remote* ScriptedBackend::find(const std::string& name) {
  for (Remote& remote : remotes_) {
    if (remote.name == name) return &remote;
  }
  return nullptr;
}

void ScriptedBackend::addRemote(const std::string& name, int listedFrom, bool openable) {
  std::lock_guard<std::mutex> lock(mutex_);
  Remote remote;
  remote.name = name;
  remote.listedFrom = listedFrom;
  remote.openable = openable;
  remotes_.push_back(remote);
}

void ScriptedBackend::push(const std::string& name, const WiimoteInput& input) {
  std::lock_guard<std::mutex> lock(mutex_);
  Remote* remote = find(name);
  if (remote == nullptr) return;
  remote->inputs.push_back(input);
  ++counts_.pending;
  arrived_.notify_all();
}

void ScriptedBackend::button(const std::string& name, unsigned short bit, bool down) {
  WiimoteInput input = {};
  input.type = WiimoteInput::kButton;
  input.button = bit;
  input.down = down;
  push(name, input);
}

void ScriptedBackend::motion(const std::string& name, int x, int y, int z) {
  WiimoteInput input = {};
  input.type = WiimoteInput::kMotion;
  input.x = x;
  input.y = y;
  input.z = z;
  push(name, input);
}

void ScriptedBackend::plug(const std::string& name, const std::string& extension) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    Remote* remote = find(name);
    if (remote == nullptr) return;
    remote->extension = extension;
  }
  WiimoteInput input = {};
  input.type = WiimoteInput::kChanged;
  push(name, input);
}

void ScriptedBackend::disconnect(const std::string& name) {
  WiimoteInput input = {};
  input.type = WiimoteInput::kGone;
  push(name, input);
  std::lock_guard<std::mutex> lock(mutex_);
  if (Remote* remote = find(name)) remote->gone = true;
}

void ScriptedBackend::reconnect(const std::string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  Remote* remote = find(name);
  if (remote == nullptr) return;
  remote->gone = false;
  counts_.pending -= static_cast<int>(remote->inputs.size());
  remote->inputs.clear();
  remote->leds.assign(4, false);
  // A remote connected again is a new device: its accelerometer is off.
  remote->motion = false;
}

void ScriptedBackend::setBattery(const std::string& name, int percent) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (Remote* remote = find(name)) remote->battery = percent;
}

void ScriptedBackend::refuseLeds(bool refuse) {
  std::lock_guard<std::mutex> lock(mutex_);
  refuseLeds_ = refuse;
}

std::vector<bool> ScriptedBackend::leds(const std::string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  Remote* remote = find(name);
  return remote != nullptr ? remote->leds : std::vector<bool>();
}

bool ScriptedBackend::motionOn(const std::string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  Remote* remote = find(name);
  return remote != nullptr && remote->motion;
}

ScriptedBackend::Counts ScriptedBackend::counts() {
  std::lock_guard<std::mutex> lock(mutex_);
  return counts_;
}

std::vector<std::string> ScriptedBackend::list() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::string> names;
  for (const Remote& remote : remotes_) {
    if (counts_.lists >= remote.listedFrom && !remote.gone) names.push_back(remote.name);
  }
  ++counts_.lists;
  return names;
}

void ScriptedBackend::refuseOpens(const std::string& name, int count) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (Remote* remote = find(name)) remote->refusedOpens = count;
}

WiimoteDevice* ScriptedBackend::open(const std::string& name, std::string& error) {
  std::lock_guard<std::mutex> lock(mutex_);
  ++counts_.openTries;
  Remote* remote = find(name);
  if (remote == nullptr || !remote->openable || remote->refusedOpens > 0) {
    if (remote != nullptr && remote->refusedOpens > 0) --remote->refusedOpens;
    error = "Permission denied";
    return nullptr;
  }
  ++counts_.opened;
  return new Device(*this, *remote);
}

void ScriptedBackend::sleep(int ms) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ++counts_.sleeps;
    counts_.sleptMs += ms;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(ms < 1 ? ms : 1));
}
