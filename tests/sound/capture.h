// Reads what SDL's disk audio driver captured: headerless signed 16-bit
// little-endian stereo, at the mix rate the device was opened with.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The capture as interleaved stereo samples (whole frames only).
std::vector<int16_t> readCapture(const std::string& path);

// Reads the growing capture every few milliseconds until `done` holds for it.
// Returns false if it never does within `limitSeconds` (a bound against a
// hang, not a measure of speed).
bool waitForCapture(const std::string& path,
                    const std::function<bool(const std::vector<int16_t>&)>& done,
                    double limitSeconds = 60.0);

// Waits until the capture holds at least `frames` stereo frames.
bool waitForFrames(const std::string& path, size_t frames, double limitSeconds = 60.0);

// Index of the first frame from `from` with a sample whose magnitude exceeds
// `threshold`, or -1.
long firstFrameAbove(const std::vector<int16_t>& capture, int threshold, size_t from = 0);

// Root mean square of both channels over frames [from, from + count).
double rmsOf(const std::vector<int16_t>& capture, size_t from, size_t count);

// Largest sample magnitude over frames [from, end).
int peakOf(const std::vector<int16_t>& capture, size_t from, size_t end);

// True when the capture holds at least `frames` frames from its first
// non-silent frame on.
bool heardFor(const std::vector<int16_t>& capture, size_t frames);
