// STUB: replaced by the event handling implementation.
#include "interaction/events.h"
#include <cstdlib>
void handleEvents() {}
void quit() { std::exit(0); }
