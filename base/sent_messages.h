// Loops of the user-interface thread that run while the user holds the mouse
// must not stop the thread from answering: the hang watchdog asks it once a
// second, and ten seconds without an answer give every captured window back.
#pragma once

#include <windows.h>

// Waits at most ms, or until another thread sends this thread a message (or
// input of the kinds in alsoWakeOn arrives), and answers every message sent
// meanwhile. Nothing is taken from the queue.
inline void WaitAnsweringSentMessages(DWORD ms, DWORD alsoWakeOn = 0) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_SENDMESSAGE | alsoWakeOn);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}
