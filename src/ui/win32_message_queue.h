#pragma once

namespace quarvel {

// Serves what the GUI thread's queue holds for its windows while a load step waits for the
// device: messages sent from other threads and programs (a screen reader, a test driver, the
// system's hung-window check), paints, and posted messages. Keys and mouse input stay queued
// until the step has returned. The windows' own handlers keep a posted command from running a
// step inside a step. A call from inside itself does nothing.
void serveQueueWithoutInput();

} // namespace quarvel
