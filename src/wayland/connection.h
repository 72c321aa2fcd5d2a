// The Wayland connection around the loop's wait, so that a wake-up costs no
// more system calls than it must (no other thread reads the connection):
//
//   before the wait  beforeWaylandWait: one sendmsg when requests are
//                    buffered, then the next read is claimed; events already
//                    queued are dispatched instead and the wait is skipped
//   the wait         poll on waylandConnectionFd (POLLOUT too when the
//                    socket was full)
//   after the wait   readWaylandEvents: one recvmsg and the handlers when
//                    the wait saw input, else the claim is given up without
//                    a system call; then the tile serves what the handlers
//                    flagged (closed, clicks, a new scale, a released buffer)
//
// A tick that shows a new frame costs the sendmsg and the poll that sleeps;
// the compositor's release of the frame before comes back as one wake-up of
// its own (the poll returning, one recvmsg), so four system calls a frame.
// A failed read or write ends the clock: it prints
// "tavock: lost the connection to the Wayland display" and exits with 1.
#pragma once

#include "interaction/screen.h"

int waylandConnectionFd();

// Sends what was drawn and claims the next read for the wait, or, when
// events were already queued, dispatches them and says to skip the wait.
WaitPlan beforeWaylandWait();

// Reads the connection when the wait saw it readable and dispatches what
// arrived, else gives the claim up; nothing when nothing was claimed.
void readWaylandEvents(bool readable);

// The line and status 1 of a connection that failed under the clock.
[[noreturn]] void lostWaylandConnection();
