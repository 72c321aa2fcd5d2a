// The X screen's steps for the loop.
#pragma once

#include "interaction/screen.h"

extern const ClockScreen xScreen;
