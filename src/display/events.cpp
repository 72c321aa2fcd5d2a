// handleEvents: drains the X event queue without waiting. A click runs the
// command; completed exposures and the window manager's close request are
// handed back to the loop; everything else is dropped.
#include "display/events.h"

#include "display/setup.h"
#include "interaction/commands.h"

#include <cstdlib>

EventOutcome handleEvents(bool readConnection)
{
    Display *display = clockDisplay.display;
    XEvent event;
    EventOutcome outcome = {};

    // Ask how many events are queued first, so XNextEvent never blocks.
    // QueuedAfterReading reads what the server has sent without first
    // sending our own buffered requests (XPending would): the loop sends
    // them once per wake-up, so a redrawn second costs one write, not two.
    // QueuedAlready reads nothing: when the wait saw the connection quiet,
    // a read would only cost a system call to learn the same.
    const int mode = readConnection ? QueuedAfterReading : QueuedAlready;
    while (XEventsQueued(display, mode) > 0) {
        XNextEvent(display, &event);
        switch (event.type) {
        case ButtonPress:
            // Any button on either window, once per press.
            runClickCommand();
            break;
        case ClientMessage:
            if (event.xclient.message_type == clockDisplay.wmProtocols &&
                static_cast<Atom>(event.xclient.data.l[0]) == clockDisplay.wmDeleteWindow) {
                outcome.closeRequested = true;
                return outcome;
            }
            break;
        case Expose:
            // A series of exposures counts once, at its last member.
            if (event.xexpose.count == 0)
                outcome.exposures++;
            break;
        default:
            break;
        }
    }
    return outcome;
}

void quit()
{
    if (clockDisplay.display)
        XCloseDisplay(clockDisplay.display);
    std::exit(0);
}
