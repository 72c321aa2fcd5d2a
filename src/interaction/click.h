// What a click does, on either screen.
#pragma once

// Runs the click command through the shell and waits for it.
void runClickCommand();
