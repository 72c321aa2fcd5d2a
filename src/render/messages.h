// The failure lines both screens print in the same words, flushed at once:
// the clock may be killed long before its exit would flush them.
#pragma once

// The label font named was not found: two lines on standard output; the
// caller leaves the label out.
void reportLabelFontFailure(const char *font);

// The sheet of the given kind could not be made (libXpm's status): one line
// on standard output; the caller ends the clock with status 0.
void reportSheetFailure(int status, int kind);
