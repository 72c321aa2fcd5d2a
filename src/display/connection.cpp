// The one file that reaches below Xlib's public interface, to save the idle
// clock one system call per wake-up. XFlush writes the buffered requests and
// then reads the connection; the loop only wants the write, since its own
// wait (poll) tells it whether anything arrived. _XSend, the call beneath
// XFlush, only writes; it needs the display lock held around it. What this
// relies on:
// - _XSend and LockDisplay/UnlockDisplay from Xlibint.h, which Xlib has
//   exported unchanged for decades (its extensions are built on them);
// - libxcb polls the socket before it writes and may read events into its
//   own queue then, where a poll on the socket cannot see them: its running
//   count of bytes read (xcb_total_read, libxcb 1.14 and later) tells
//   whether that happened since the last full drain.
#include "display/connection.h"

#include <X11/Xlib-xcb.h>
#include <cstdint>
// Xlibint.h defines min and max as macros; nothing here needs them.
#include <X11/Xlibint.h>
#undef min
#undef max

// libxcb's count of bytes read, taken after the last drain that read the
// connection: both event queues were empty then.
static uint64_t readMark;

void sendRequests(Display *display)
{
    LockDisplay(display);
    _XSend(display, nullptr, 0);
    UnlockDisplay(display);
}

bool eventsMayBeQueued(Display *display)
{
    return XQLength(display) > 0 || xcb_total_read(XGetXCBConnection(display)) != readMark;
}

void markQueuesDrained(Display *display)
{
    readMark = xcb_total_read(XGetXCBConnection(display));
}

void forgetQueuesDrained()
{
    readMark = 0;
}
