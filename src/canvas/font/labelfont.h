// The label font without an X server: the font the server would open for a
// core font name (fontpath.h), its glyphs made as the server makes
// them (a bitmap as it is, a bitmap through the server's scaler, an
// outline through FreeType as the server's FreeType backend draws it),
// kept as one bitmap per 8-bit code. Measures and draws text as
// XLoadQueryFont, XTextWidth and XDrawString do; draws onto a mask only.
// Glyphs are read along the server's default path as present.
#pragma once

#include "canvas/font/fontpath.h"

// For tests that pin the folders a server reads: the reader uses these
// instead of the default path (count 0 goes back to the default).
void useFontFolders(const FontFolder *folders, int count);

// The label's text in its font, as the module hands it to the canvas.
struct LabelText {
    int ascent, descent;  // the font's largest ascent and descent (max_bounds)
    int width;            // XTextWidth of the text
    int left, top;        // the mask's top left corner from the text's origin on its baseline
    int maskWidth, maskHeight;
    unsigned char *mask;  // maskWidth x maskHeight bytes, 1 where XDrawString inks; malloc'd
};

// The font reader's one entry, in the module that only a label loads (a
// clock without one never maps FreeType): measures text in the core font
// named and draws it into a mask. False, with nothing to free, when the
// font is not found or cannot be read; prints nothing.
extern "C" bool tavockLabelText(const char *font, const char *text, LabelText *label);
typedef bool (*LabelTextCall)(const char *font, const char *text, LabelText *label);
