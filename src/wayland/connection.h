// The Wayland connection as the loop sees it: a descriptor to wait on, a
// flush, and a read split around the wait, so that a wake-up costs no more
// system calls than it must.
//
// The order of one loop pass (no other thread reads the connection):
//
//   draw:   waylandFrameBuffer, draw, presentWaylandFrame (no system call)
//   if (!prepareWaylandRead())          // events were queued: dispatched now,
//       serve the flags, next pass      // the wait is skipped
//   bool more = flushWayland();         // one sendmsg when requests are buffered
//   poll({waylandConnectionFd(), POLLIN | (more ? POLLOUT : 0)}, ...)
//   readWaylandEvents(revents & (POLLIN | POLLHUP | POLLERR));
//                                       // one recvmsg when readable, then the
//                                       // handlers run; else the read is given up
//   serve the flags: clockWayland.closed (exit 0), clicks (run the command,
//   set it to 0), scaleChanged (draw at the new scale now, set it false)
//
// A tick that shows a new frame costs the sendmsg and the poll that sleeps;
// the compositor's release of the frame before comes back as one wake-up of
// its own (the poll returning, one recvmsg), so four system calls a frame.
// A failed read or write ends the clock: it prints
// "tavock: lost the connection to the Wayland display" and exits with 1.
#pragma once

int waylandConnectionFd();

// Sends the buffered requests. True when some are left over because the
// socket is full: the wait should then also wake for POLLOUT.
bool flushWayland();

// Claims the next read of the connection for the coming wait. False when
// events were already queued: they have been dispatched instead, and
// nothing is claimed (readWaylandEvents must not follow).
bool prepareWaylandRead();

// Ends the claim: reads the connection when the wait saw it readable and
// dispatches what arrived, else gives the claim up without a system call.
void readWaylandEvents(bool readable);

// The line and status 1 of a connection that failed under the clock.
[[noreturn]] void lostWaylandConnection();
