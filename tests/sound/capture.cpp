#include "tests/sound/capture.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>

std::vector<int16_t> readCapture(const std::string& path) {
  std::vector<int16_t> samples;
  FILE* file = fopen(path.c_str(), "rb");
  if (!file) return samples;
  unsigned char frame[4];
  while (fread(frame, 1, 4, file) == 4) {
    samples.push_back(static_cast<int16_t>(frame[0] | (frame[1] << 8)));
    samples.push_back(static_cast<int16_t>(frame[2] | (frame[3] << 8)));
  }
  fclose(file);
  return samples;
}

bool waitForCapture(const std::string& path,
                    const std::function<bool(const std::vector<int16_t>&)>& done,
                    double limitSeconds) {
  auto limit = std::chrono::steady_clock::now() + std::chrono::duration<double>(limitSeconds);
  while (std::chrono::steady_clock::now() < limit) {
    if (done(readCapture(path))) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return done(readCapture(path));
}

bool waitForFrames(const std::string& path, size_t frames, double limitSeconds) {
  return waitForCapture(
      path, [frames](const std::vector<int16_t>& c) { return c.size() / 2 >= frames; },
      limitSeconds);
}

long firstFrameAbove(const std::vector<int16_t>& capture, int threshold, size_t from) {
  for (size_t i = from * 2; i < capture.size(); ++i) {
    if (std::abs(capture[i]) > threshold) return static_cast<long>(i / 2);
  }
  return -1;
}

double rmsOf(const std::vector<int16_t>& capture, size_t from, size_t count) {
  double sum = 0;
  size_t n = 0;
  for (size_t i = from * 2; i < (from + count) * 2 && i < capture.size(); ++i, ++n) {
    sum += static_cast<double>(capture[i]) * capture[i];
  }
  return n ? std::sqrt(sum / n) : 0.0;
}

int peakOf(const std::vector<int16_t>& capture, size_t from, size_t end) {
  int peak = 0;
  for (size_t i = from * 2; i < end * 2 && i < capture.size(); ++i) {
    peak = std::max(peak, std::abs(static_cast<int>(capture[i])));
  }
  return peak;
}

bool heardFor(const std::vector<int16_t>& capture, size_t frames) {
  long start = firstFrameAbove(capture, 0);
  return start >= 0 && capture.size() / 2 >= static_cast<size_t>(start) + frames;
}
