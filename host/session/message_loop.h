// The host's message loop between two steps, as a desktop host runs it
// between two user actions.
#pragma once

namespace kavrel::host {

// Dispatches every queued message of the thread until the queue is empty.
// Throws StepFailure when it does not empty within 100,000 messages. A
// WM_QUIT is put back and ends the loop.
void DispatchQueuedMessages();

}  // namespace kavrel::host
