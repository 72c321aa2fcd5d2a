// Colour texts to pixels without an X server, for frames drawn by the
// client: the texts the server's colour parser takes, the pixels a 24-bit
// TrueColor screen allocates for them, and the shades of render/shades.h.
#pragma once

// The 16-bit components XParseColor gives for text: "#" with 1 to 4 hex
// digits per component, "rgb:r/g/b", or a name from the system's rgb.txt
// (case-insensitive). False for anything else.
bool parseColorText(const char *text, unsigned short rgb[3]);

// The pixel XAllocColor returns on a 24-bit TrueColor visual; rgb becomes
// the components it reports back for the cell.
unsigned long trueColorPixel(unsigned short rgb[3]);

// colorPixel, darkerPixel and lighterPixel for a TrueColor screen that is
// not there: the same "can't parse" messages, pixel 0 for a bad text.
unsigned long localColorPixel(const char *colour);
unsigned long localDarkerPixel(const char *colour, float factor);
unsigned long localLighterPixel(const char *colour, float factor);
