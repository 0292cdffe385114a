// Running and stopping the Wii Remote polling thread in tests.
#pragma once

#include <functional>

#include "platform/wiiuse/scripted_backend.h"

// How many waits and sleeps the backend has been asked for so far.
int askedSoFar(ScriptedBackend& backend);

// Waits up to five seconds for the backend to be asked for more than
// `count` waits and sleeps; false if it never was.
bool waitUntilAsked(ScriptedBackend& backend, int count);

// Runs the polling loop on a thread of the test's own, so that it can be
// stopped and joined, until the script is read and one more poll has waited.
void pollUntilScriptRead(ScriptedBackend& backend);

// Stops the detached thread initWiimote started and returns once it asks
// nothing more of the backend.
void stopDetachedPollThread(ScriptedBackend& backend);

// Waits up to five seconds for `done` to hold; false if it never did.
bool waitUntil(const std::function<bool()>& done);
