// The X connection as the loop's wait sees it: sending what was drawn
// without reading, and knowing whether events may already sit in a queue
// where a wait on the socket cannot see them.
#pragma once

#include <X11/Xlib.h>

// Hands the requests Xlib has buffered to the connection, and nothing else.
void sendRequests(Display *display);

// Whether events may sit in Xlib's queue or in libxcb's.
bool eventsMayBeQueued(Display *display);

// After a drain that read the connection: both queues are empty now.
void markQueuesDrained(Display *display);
// Nothing known about the queues (before the loop's first wait).
void forgetQueuesDrained();
