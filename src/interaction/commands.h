// The commands the clock runs through the shell, on either screen: each
// `at` command once when the displayed time reaches it, and the click
// command on a click.
#pragma once

void checkAlarms();

// Runs the click command and waits for it.
void runClickCommand();
