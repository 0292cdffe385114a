// What the portable parts of the os layer ask of each system's backend.
#pragma once

#include <cstdint>

// Returns once the monotonic clock (monotonicNanoseconds) has reached
// `deadlineNs`, at once when it has passed. Signals or early wake-ups do not
// end the wait sooner.
void sleepUntil(int64_t deadlineNs);

// Shows the modal box of showMessage and returns once it is closed; false
// when the system could not show one (no display).
bool showMessageBox(const char* caption, const char* text);
