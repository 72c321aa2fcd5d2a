// Colour texts read as Xlib and the X server read them, without either:
// "#" forms scaled as XParseColor scales them (by shifting, so "#fff" is
// f000, not ffff), "rgb:" forms scaled to the full range as Xcms does, and
// the server's colour names from the system's rgb.txt.
#include "canvas/colornames.h"

#include "render/shades.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// "#" and 3, 6, 9 or 12 hex digits: each component's digits end up in the
// top bits of 16.
bool parseHash(const char *digits, unsigned short rgb[3])
{
    size_t length = std::strlen(digits);
    if (length != 3 && length != 6 && length != 9 && length != 12)
        return false;
    int perComponent = static_cast<int>(length / 3);
    for (int c = 0; c < 3; c++) {
        unsigned int value = 0;
        for (int k = 0; k < perComponent; k++) {
            int v = hexValue(digits[c * perComponent + k]);
            if (v < 0)
                return false;
            value = value << 4 | static_cast<unsigned int>(v);
        }
        rgb[c] = static_cast<unsigned short>(value << (16 - 4 * perComponent));
    }
    return true;
}

// "rgb:" and three groups of 1 to 4 hex digits, split by "/": a group of n
// digits counts in units of 1 / (16^n - 1) of the full range.
bool parseRgbForm(const char *text, unsigned short rgb[3])
{
    const char *p = text;
    for (int c = 0; c < 3; c++) {
        unsigned long value = 0;
        int digits = 0;
        for (; hexValue(*p) >= 0; p++, digits++)
            value = value << 4 | static_cast<unsigned long>(hexValue(*p));
        if (digits < 1 || digits > 4 || *p != (c < 2 ? '/' : '\0'))
            return false;
        p++;
        rgb[c] = static_cast<unsigned short>(value * 65535ul / ((1ul << (4 * digits)) - 1));
    }
    return true;
}

// A line of rgb.txt: three decimal components, then the name up to the end
// of the line. Lines that do not read so ("!" comments) are skipped.
bool lookUpName(const char *name, unsigned short rgb[3])
{
    static const char *const databases[] = {"/usr/share/X11/rgb.txt", "/etc/X11/rgb.txt"};
    FILE *file = nullptr;
    for (const char *path : databases)
        if ((file = std::fopen(path, "r")))
            break;
    if (!file)
        return false;
    char line[256];
    bool found = false;
    while (!found && std::fgets(line, sizeof line, file)) {
        int r, g, b, consumed = 0;
        if (std::sscanf(line, " %d %d %d %n", &r, &g, &b, &consumed) != 3 || consumed == 0)
            continue;
        char *entry = line + consumed;
        size_t length = std::strcspn(entry, "\r\n");
        while (length > 0 && std::isspace(static_cast<unsigned char>(entry[length - 1])))
            length--;
        entry[length] = '\0';
        if (strcasecmp(entry, name) != 0)
            continue;
        // The server keeps 8-bit values and widens them as 0xRR * 0x101.
        rgb[0] = static_cast<unsigned short>((r & 0xff) * 0x101);
        rgb[1] = static_cast<unsigned short>((g & 0xff) * 0x101);
        rgb[2] = static_cast<unsigned short>((b & 0xff) * 0x101);
        found = true;
    }
    std::fclose(file);
    return found;
}

// colorPixel's steps 3 and 4 on a screen where allocation cannot fail:
// components (0 when the text does not parse) and the pixel, or false.
bool allocateLocal(const char *colour, unsigned short rgb[3], unsigned long *pixel)
{
    if (!parseColorText(colour, rgb)) {
        rgb[0] = rgb[1] = rgb[2] = 0;
        std::printf("tavock: can't parse %s\n", colour);
        std::fflush(stdout);  // as on X: the clock may be killed long before exit flushes
        return false;
    }
    *pixel = trueColorPixel(rgb);
    return true;
}

unsigned long shadePixel(const char *colour, float factor, bool lighter)
{
    unsigned short rgb[3];
    unsigned long pixel;
    allocateLocal(colour, rgb, &pixel);
    char text[64];
    formatShade(text, rgb[0], rgb[1], rgb[2], factor, lighter);
    return localColorPixel(text);
}

} // namespace

bool parseColorText(const char *text, unsigned short rgb[3])
{
    if (text[0] == '#')
        return parseHash(text + 1, rgb);
    if (strncasecmp(text, "rgb:", 4) == 0)
        return parseRgbForm(text + 4, rgb);
    return text[0] != '\0' && lookUpName(text, rgb);
}

unsigned long trueColorPixel(unsigned short rgb[3])
{
    // Eight bits per channel: the server keeps the top byte of each
    // component (no rounding) and reports it back widened to 16 bits.
    unsigned long pixel = 0;
    for (int c = 0; c < 3; c++) {
        unsigned int top = rgb[c] >> 8;
        rgb[c] = static_cast<unsigned short>(top * 0x101);
        pixel = pixel << 8 | top;
    }
    return pixel;
}

unsigned long localColorPixel(const char *colour)
{
    unsigned short rgb[3];
    unsigned long pixel;
    return allocateLocal(colour, rgb, &pixel) ? pixel : 0;
}

unsigned long localDarkerPixel(const char *colour, float factor)
{
    return shadePixel(colour, factor, false);
}

unsigned long localLighterPixel(const char *colour, float factor)
{
    return shadePixel(colour, factor, true);
}
