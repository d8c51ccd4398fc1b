// Waiting for a condition while this thread's windows keep answering.
#pragma once

#include <windows.h>

#include <functional>

namespace testing_support {

// Pumps this thread's messages until condition() holds or timeoutMs passed.
// Returns whether the condition held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// Pumps this thread's messages for as long as nothing is pending; used after
// posting to our own windows.
void PumpPending();

// Pumps this thread's messages for ms milliseconds. Only for tests whose
// subject is time itself (a timer restarted) or the absence of an event.
void PumpFor(DWORD ms);

}  // namespace testing_support
