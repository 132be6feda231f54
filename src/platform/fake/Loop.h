// The fake backend's message loop (poll()), as the rest of the fake backend sees it.
#pragma once

namespace tk::fake {

// Dispatches every timer, socket notification and posted work that is due; returns when
// nothing is left.
void DispatchPendingMessages();
// Sleeps until a timer is due, a watched socket is ready or work is posted.
void WaitForMessage();

} // namespace tk::fake
