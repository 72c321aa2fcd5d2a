// Core font names to PCF files, as the X server's font path finds them, and
// the glyphs of the file through FreeType. Meant for start-up: a lookup
// reads the font folders' lists, and the font is closed once the text it
// was opened for is measured and drawn.
#include "render/bitmapfont.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

const FontFolder coreFontPath[] = {
    {"/usr/share/fonts/X11/misc", true},
    {"/usr/share/fonts/X11/cyrillic", true},
    {"/usr/share/fonts/X11/100dpi", false},
    {"/usr/share/fonts/X11/75dpi", false},
    {"/usr/share/fonts/X11/100dpi", true},
    {"/usr/share/fonts/X11/75dpi", true},
};
const int coreFontPathCount = sizeof coreFontPath / sizeof coreFontPath[0];

namespace {

enum { NAME_SIZE = 512 };  // longer than any font name or fonts.dir line we keep

// The server follows at most this many aliases for one name.
const int ALIAS_HOPS = 20;

// The resolution the server assumes for a scaled name that gives a point
// size but neither a pixel size nor a resolution (Xvfb's screen).
const double DEFAULT_RESOLUTION = 100.0;

// The server lowers names as ISO Latin-1 text before it compares them.
void lower(char *text)
{
    for (; *text; text++) {
        unsigned char u = static_cast<unsigned char>(*text);
        if ((u >= 'A' && u <= 'Z') || (u >= 0xc0 && u <= 0xde && u != 0xd7))
            *text = static_cast<char>(u + 0x20);
    }
}

int sizeField(const char *begin, const char *end)
{
    if (end == begin || end - begin > 6)
        return -1;
    int value = 0;
    for (const char *p = begin; p < end; p++) {
        if (*p < '0' || *p > '9')
            return -1;
        value = value * 10 + (*p - '0');
    }
    return value;
}

// The name with its pixel size, point size and average width replaced by
// 0, as the server keys the bitmaps it may scale (into zeroed, NAME_SIZE
// bytes); and the pixel size, point size and vertical resolution as
// numbers (-1 where the field is none). False unless the name is a full
// XLFD name of 14 fields.
bool zeroedSizes(const char *name, char *zeroed, int *pixel, int *point, int *resY)
{
    const char *dash[15];
    int dashes = 0;
    for (const char *p = name; *p; p++)
        if (*p == '-' && dashes++ < 15)
            dash[dashes - 1] = p;
    if (name[0] != '-' || dashes != 14)
        return false;
    const char *end = name + std::strlen(name);
    auto fieldEnd = [&](int i) { return i < 13 ? dash[i + 1] : end; };
    *pixel = sizeField(dash[6] + 1, fieldEnd(6));
    *point = sizeField(dash[7] + 1, fieldEnd(7));
    *resY = sizeField(dash[9] + 1, fieldEnd(9));
    size_t at = 0;
    for (int i = 0; i < 14; i++) {
        bool size = i == 6 || i == 7 || i == 11;
        int length = size ? 1 : static_cast<int>(fieldEnd(i) - dash[i] - 1);
        int written = std::snprintf(zeroed + at, NAME_SIZE - at, "-%.*s", length,
                                    size ? "0" : dash[i] + 1);
        if (written < 0 || at + static_cast<size_t>(written) >= NAME_SIZE)
            return false;
        at += static_cast<size_t>(written);
    }
    return true;
}

// What is looked for: the lower-case name and, for a name the server may
// scale, its zeroed form and the pixel size asked (0 when it may not).
struct FontQuery {
    char pattern[NAME_SIZE];
    char zeroed[NAME_SIZE];
    int pixel;
};

// The best entry so far of one folder.
struct FontMatch {
    bool found;
    bool alias;               // target names another font, not a file
    char name[NAME_SIZE];     // the entry's lower-case name
    char target[NAME_SIZE];   // its file, or the name an alias stands for
    char family[NAME_SIZE];   // scaled search: the name with its sizes zeroed
    int size;                 // scaled search: the bitmap's pixel size
};

void keep(FontMatch &m, const char *name, const char *target, bool alias)
{
    m.found = true;
    m.alias = alias;
    std::snprintf(m.name, NAME_SIZE, "%s", name);
    std::snprintf(m.target, NAME_SIZE, "%s", target);
}

// The first match in the server's name order wins; of equal names the one
// read first (fonts.dir before fonts.alias).
void offerDirect(const FontQuery &q, const char *name, const char *target, bool alias,
                 FontMatch &m)
{
    if (fontNameMatches(q.pattern, name) && (!m.found || compareFontNames(name, m.name) < 0))
        keep(m, name, target, alias);
}

// A full XLFD name whose size no bitmap has: the server scales a bitmap of
// the first family (in its name order) that matches in all but the sizes.
// Without a scaler, this takes that family's bitmap nearest in pixel size,
// the smaller one of two as near. On Xvfb with the Debian bitmap fonts the
// server's scaled glyphs equal that bitmap's when the size asked is one
// pixel above a bitmap's, as for the clock's default label font (9 pixels,
// from the 8-pixel Helvetica); for other sizes the glyphs differ.
void offerScaled(const FontQuery &q, const char *name, const char *file, FontMatch &m)
{
    char family[NAME_SIZE];
    int size, point, resY;
    if (q.pixel <= 0 || !zeroedSizes(name, family, &size, &point, &resY) || size <= 0 ||
        !fontNameMatches(q.zeroed, family))
        return;
    int order = m.found ? compareFontNames(family, m.family) : -1;
    int distance = std::abs(size - q.pixel), kept = std::abs(m.size - q.pixel);
    if (order < 0 || (order == 0 && (distance < kept || (distance == kept && size < m.size) ||
                                     (size == m.size && compareFontNames(name, m.name) < 0)))) {
        keep(m, name, file, false);
        std::snprintf(m.family, NAME_SIZE, "%s", family);
        m.size = size;
    }
}

// One word of fonts.alias into word (NAME_SIZE bytes): a run without
// blanks, or a quoted text in which a backslash keeps the next character.
bool aliasWord(const char *&p, char *word)
{
    p += std::strspn(p, " \t");
    if (*p == '\0' || *p == '!')
        return false;
    size_t n = 0;
    if (*p == '"') {
        for (p++; *p && *p != '"'; p++) {
            if (*p == '\\' && p[1])
                p++;
            if (n + 1 < NAME_SIZE)
                word[n++] = *p;
        }
        if (*p == '"')
            p++;
    } else {
        for (; *p && *p != ' ' && *p != '\t'; p++)
            if (n + 1 < NAME_SIZE)
                word[n++] = *p;
    }
    word[n] = '\0';
    return true;
}

// Offers every font of a folder: fonts.dir has a count, then a file name
// and a font name (which may hold blanks) per line; fonts.alias an alias
// and the name it stands for per line, "!" starting a comment.
void scanFolder(const char *folder, const FontQuery &q, FontMatch &direct, FontMatch &scaled)
{
    char path[NAME_SIZE + 64], line[NAME_SIZE];
    std::snprintf(path, sizeof path, "%s/fonts.dir", folder);
    if (FILE *file = std::fopen(path, "r")) {
        bool first = true;
        while (std::fgets(line, sizeof line, file)) {
            line[std::strcspn(line, "\r\n")] = '\0';
            char *name = line + std::strcspn(line, " \t");
            if (first || *name == '\0') {
                first = false;
                continue;
            }
            *name++ = '\0';
            name += std::strspn(name, " \t");
            lower(name);
            offerDirect(q, name, line, false, direct);
            offerScaled(q, name, line, scaled);
        }
        std::fclose(file);
    }
    std::snprintf(path, sizeof path, "%s/fonts.alias", folder);
    if (FILE *file = std::fopen(path, "r")) {
        char alias[NAME_SIZE], target[NAME_SIZE];
        while (std::fgets(line, sizeof line, file)) {
            line[std::strcspn(line, "\r\n")] = '\0';
            const char *p = line;
            if (aliasWord(p, alias) && aliasWord(p, target)) {
                lower(alias);
                offerDirect(q, alias, target, true, direct);
            }
        }
        std::fclose(file);
    }
}

void setQuery(FontQuery &q, const char *name)
{
    std::snprintf(q.pattern, NAME_SIZE, "%s", name);
    lower(q.pattern);
    int point, resY;
    if (!zeroedSizes(q.pattern, q.zeroed, &q.pixel, &point, &resY)) {
        q.pixel = 0;
        return;
    }
    if (q.pixel <= 0 && point > 0)
        q.pixel = static_cast<int>(
            std::lround(point * (resY > 0 ? resY : DEFAULT_RESOLUTION) / 722.7));
}

} // namespace

bool fontNameMatches(const char *pattern, const char *name)
{
    // Backtracking to the last "*" is enough for "*" and "?" alone.
    const char *star = nullptr, *resume = nullptr;
    while (*name) {
        if (*pattern == '*') {
            star = pattern++;
            resume = name;
        } else if (*pattern == '?' || *pattern == *name) {
            pattern++;
            name++;
        } else if (star) {
            pattern = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*')
        pattern++;
    return *pattern == '\0';
}

int compareFontNames(const char *a, const char *b)
{
    for (;;) {
        if (*a >= '0' && *a <= '9' && *b >= '0' && *b <= '9') {
            // The shorter run of digits is the smaller number.
            size_t da = std::strspn(a, "0123456789"), db = std::strspn(b, "0123456789");
            if (da != db)
                return da < db ? -1 : 1;
            int order = std::strncmp(a, b, da);
            if (order != 0)
                return order < 0 ? -1 : 1;
            a += da;
            b += db;
            continue;
        }
        if (*a != *b)
            return static_cast<unsigned char>(*a) < static_cast<unsigned char>(*b) ? -1 : 1;
        if (*a == '\0')
            return 0;
        a++;
        b++;
    }
}

bool findFontFile(const char *name, const FontFolder *folders, int count, char *path,
                  size_t pathSize)
{
    FontQuery q;
    setQuery(q, name);
    for (int hops = 0; hops <= ALIAS_HOPS; hops++) {
        const FontMatch *found = nullptr;
        FontMatch direct, scaled;
        int i = 0;
        for (; i < count && !found; i++) {
            direct = scaled = FontMatch{};
            scanFolder(folders[i].path, q, direct, scaled);
            found = direct.found ? &direct : folders[i].scaled && scaled.found ? &scaled : nullptr;
        }
        if (!found)
            return false;
        if (!found->alias) {
            std::snprintf(path, pathSize, "%s/%s", folders[i - 1].path, found->target);
            return true;
        }
        // An alias names another font, looked for again along the whole path.
        setQuery(q, found->target);
    }
    return false;
}

bool openBitmapFont(const char *name, BitmapFont *font)
{
    *font = BitmapFont{};
    char path[NAME_SIZE + 64];
    if (!findFontFile(name, coreFontPath, coreFontPathCount, path, sizeof path) ||
        FT_Init_FreeType(&font->library) != 0)
        return false;
    FT_Face face;
    if (FT_New_Face(font->library, path, 0, &face) != 0 || face->num_fixed_sizes < 1 ||
        FT_Select_Size(face, 0) != 0) {
        closeBitmapFont(font);
        return false;
    }
    font->face = face;
    // The file's encoding maps raw character codes whatever its registry;
    // FreeType selects it by itself only when it is Unicode.
    if (!face->charmap && face->num_charmaps > 0)
        FT_Set_Charmap(face, face->charmaps[0]);
    // max_bounds: the largest ascent and descent over every glyph.
    font->ascent = font->descent = -32768;
    for (FT_Long i = 0; i < face->num_glyphs; i++) {
        if (FT_Load_Glyph(face, static_cast<FT_UInt>(i), FT_LOAD_BITMAP_METRICS_ONLY) != 0)
            continue;
        const FT_Glyph_Metrics &m = face->glyph->metrics;
        int ascent = static_cast<int>(m.horiBearingY >> 6);
        int descent = static_cast<int>((m.height - m.horiBearingY) >> 6);
        if (ascent > font->ascent)
            font->ascent = ascent;
        if (descent > font->descent)
            font->descent = descent;
    }
    return true;
}

void closeBitmapFont(BitmapFont *font)
{
    // FT_Done_FreeType closes the library's faces with it.
    if (font->library)
        FT_Done_FreeType(font->library);
    font->library = nullptr;
    font->face = nullptr;
}

// Missing characters map to glyph 0, which FreeType's PCF driver makes the
// font's default character: the glyph the server draws for them.
static FT_UInt glyphOf(const BitmapFont &font, char c)
{
    return FT_Get_Char_Index(font.face, static_cast<unsigned char>(c));
}

int bitmapTextWidth(const BitmapFont &font, const char *text)
{
    int width = 0;
    for (const char *p = text; *p; p++)
        if (FT_Load_Glyph(font.face, glyphOf(font, *p), FT_LOAD_BITMAP_METRICS_ONLY) == 0)
            width += static_cast<int>(font.face->glyph->metrics.horiAdvance >> 6);
    return width;
}

void drawBitmapText(const BitmapFont &font, const char *text, int x, int y, unsigned char *mask,
                    int width, int height)
{
    for (const char *p = text; *p; p++) {
        if (FT_Load_Glyph(font.face, glyphOf(font, *p), FT_LOAD_DEFAULT) != 0)
            continue;
        const FT_GlyphSlot slot = font.face->glyph;
        const FT_Bitmap &bitmap = slot->bitmap;
        int left = x + slot->bitmap_left, top = y - slot->bitmap_top;
        for (unsigned int row = 0; row < bitmap.rows; row++) {
            const unsigned char *bits = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
            for (unsigned int column = 0; column < bitmap.width; column++) {
                bool ink = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                               ? bits[column >> 3] & (0x80 >> (column & 7))
                               : bits[column] != 0;
                int px = left + static_cast<int>(column), py = top + static_cast<int>(row);
                if (ink && px >= 0 && px < width && py >= 0 && py < height)
                    mask[py * width + px] = 1;
            }
        }
        x += static_cast<int>(slot->metrics.horiAdvance >> 6);
    }
}

const BitmapFontCalls *tavockBitmapFont()
{
    static const BitmapFontCalls calls = {openBitmapFont, closeBitmapFont, bitmapTextWidth,
                                          drawBitmapText};
    return &calls;
}
