// STUB: replaced by the frame composition implementation.
#include "render/compose.h"
void composeFrame(Drawable) {}
