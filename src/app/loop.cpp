// STUB: replaced by the tick loop implementation.
#include "app/loop.h"
#include <cstdlib>
time_t currentTime, lastRedrawTime;
int redrawPending;
time_t (*clockSource)(time_t *) = time;
void tick() {}
void redraw() {}
void presentFrame() {}
void runMainLoop() { std::exit(0); }
