// Core font names to PCF files, as the X server's font path finds them, and
// the glyphs of the file through FreeType. Everything here reads files
// once, at start-up; the font and FreeType stay open for the run.
#include "render/bitmapfont.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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

// The server follows at most this many aliases for one name.
const int ALIAS_HOPS = 20;

// The resolution the server assumes for a scaled name that gives a point
// size but neither a pixel size nor a resolution (Xvfb's screen).
const double DEFAULT_RESOLUTION = 100.0;

// The server lowers names as ISO Latin-1 text before it compares them.
std::string lowered(const char *text)
{
    std::string out(text);
    for (char &c : out) {
        unsigned char u = static_cast<unsigned char>(c);
        if ((u >= 'A' && u <= 'Z') || (u >= 0xc0 && u <= 0xde && u != 0xd7))
            c = static_cast<char>(u + 0x20);
    }
    return out;
}

// The name with its pixel size, point size and average width replaced by
// 0, as the server keys the bitmaps it may scale; and the pixel size, point
// size and vertical resolution as numbers (-1 where a field is no number).
// False when the name is not a full XLFD name of 14 fields.
bool zeroedSizes(const std::string &name, std::string *zeroed, int *pixel, int *point, int *resY)
{
    if (name.empty() || name[0] != '-')
        return false;
    std::vector<std::string> fields;
    size_t start = 1;
    for (;;) {
        size_t dash = name.find('-', start);
        fields.push_back(name.substr(start, dash == std::string::npos ? dash : dash - start));
        if (dash == std::string::npos)
            break;
        start = dash + 1;
    }
    if (fields.size() != 14)
        return false;
    auto number = [](const std::string &field) {
        if (field.empty() || field.size() > 6 ||
            field.find_first_not_of("0123456789") != std::string::npos)
            return -1;
        return std::stoi(field);
    };
    *pixel = number(fields[6]);
    *point = number(fields[7]);
    *resY = number(fields[9]);
    fields[6] = fields[7] = fields[11] = "0";
    zeroed->clear();
    for (const std::string &field : fields)
        *zeroed += "-" + field;
    return true;
}

struct FolderEntry {
    std::string name;    // lower case
    std::string target;  // the file, or an alias's font name
    bool alias;
};

// fonts.dir: a count, then a file name and a font name (which may hold
// blanks) per line.
void readFontsDir(const std::string &folder, std::vector<FolderEntry> &entries)
{
    FILE *file = std::fopen((folder + "/fonts.dir").c_str(), "r");
    if (!file)
        return;
    char line[1024];
    bool first = true;
    while (std::fgets(line, sizeof line, file)) {
        line[std::strcspn(line, "\r\n")] = '\0';
        if (first) {
            first = false;
            continue;
        }
        char *name = line + std::strcspn(line, " \t");
        if (*name == '\0')
            continue;
        *name++ = '\0';
        name += std::strspn(name, " \t");
        entries.push_back({lowered(name), line, false});
    }
    std::fclose(file);
}

// One word of fonts.alias: a run without blanks, or a quoted text in which
// a backslash keeps the next character.
bool aliasWord(const char *&p, std::string *word)
{
    p += std::strspn(p, " \t");
    if (*p == '\0' || *p == '!')
        return false;
    word->clear();
    if (*p == '"') {
        for (p++; *p && *p != '"'; p++) {
            if (*p == '\\' && p[1])
                p++;
            *word += *p;
        }
        if (*p == '"')
            p++;
        return true;
    }
    for (; *p && *p != ' ' && *p != '\t'; p++)
        *word += *p;
    return true;
}

// fonts.alias: an alias and the name it stands for per line; "!" starts a
// comment.
void readFontsAlias(const std::string &folder, std::vector<FolderEntry> &entries)
{
    FILE *file = std::fopen((folder + "/fonts.alias").c_str(), "r");
    if (!file)
        return;
    char line[1024];
    while (std::fgets(line, sizeof line, file)) {
        line[std::strcspn(line, "\r\n")] = '\0';
        const char *p = line;
        std::string alias, target;
        if (aliasWord(p, &alias) && aliasWord(p, &target))
            entries.push_back({lowered(alias.c_str()), target, true});
    }
    std::fclose(file);
}

// The entry the name matches first in the server's order; on equal names
// the one read first (fonts.dir before fonts.alias).
const FolderEntry *firstMatch(const std::string &pattern, const std::vector<FolderEntry> &entries)
{
    const FolderEntry *best = nullptr;
    for (const FolderEntry &e : entries)
        if (fontNameMatches(pattern.c_str(), e.name.c_str()) &&
            (!best || compareFontNames(e.name.c_str(), best->name.c_str()) < 0))
            best = &e;
    return best;
}

// A full XLFD name whose size no bitmap has: the server scales a bitmap of
// the first family (in its name order) that matches in all but the sizes.
// Without a scaler, this takes that family's bitmap nearest in pixel size,
// the smaller one of two as near. On Xvfb with the Debian bitmap fonts the
// server's scaled glyphs equal that bitmap's when the size asked is one
// pixel above a bitmap's, as for the clock's default label font (9 pixels,
// from the 8-pixel Helvetica); for other sizes the glyphs differ.
const FolderEntry *nearestBitmap(const std::string &pattern,
                                 const std::vector<FolderEntry> &entries)
{
    std::string zeroedPattern;
    int pixel, point, resY;
    if (!zeroedSizes(pattern, &zeroedPattern, &pixel, &point, &resY))
        return nullptr;
    if (pixel <= 0 && point > 0)
        pixel = static_cast<int>(std::lround(
            point * (resY > 0 ? resY : DEFAULT_RESOLUTION) / 722.7));
    if (pixel <= 0)
        return nullptr;

    const FolderEntry *best = nullptr;
    std::string bestFamily;
    int bestSize = 0;
    for (const FolderEntry &e : entries) {
        std::string family;
        int size, unusedPoint, unusedRes;
        if (e.alias || !zeroedSizes(e.name, &family, &size, &unusedPoint, &unusedRes) ||
            size <= 0 || !fontNameMatches(zeroedPattern.c_str(), family.c_str()))
            continue;
        int order = best ? compareFontNames(family.c_str(), bestFamily.c_str()) : -1;
        int distance = std::abs(size - pixel), bestDistance = std::abs(bestSize - pixel);
        bool better = order < 0 ||
                      (order == 0 && (distance < bestDistance ||
                                      (distance == bestDistance && size < bestSize) ||
                                      (size == bestSize &&
                                       compareFontNames(e.name.c_str(), best->name.c_str()) < 0)));
        if (better) {
            best = &e;
            bestFamily = family;
            bestSize = size;
        }
    }
    return best;
}

FT_Library freetype;

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
    std::string wanted = lowered(name);
    for (int hops = 0; hops <= ALIAS_HOPS; hops++) {
        const FolderEntry *found = nullptr;
        std::vector<FolderEntry> entries;
        std::string folder;
        for (int i = 0; i < count && !found; i++) {
            folder = folders[i].path;
            entries.clear();
            readFontsDir(folder, entries);
            readFontsAlias(folder, entries);
            found = firstMatch(wanted, entries);
            if (!found && folders[i].scaled)
                found = nearestBitmap(wanted, entries);
        }
        if (!found)
            return false;
        if (!found->alias) {
            std::snprintf(path, pathSize, "%s/%s", folder.c_str(), found->target.c_str());
            return true;
        }
        // An alias names another font, looked for again along the whole path.
        wanted = lowered(found->target.c_str());
    }
    return false;
}

bool openBitmapFont(const char *name, BitmapFont *font)
{
    *font = BitmapFont{};
    char path[1024];
    if (!findFontFile(name, coreFontPath, coreFontPathCount, path, sizeof path))
        return false;
    if (!freetype && FT_Init_FreeType(&freetype) != 0)
        return false;
    FT_Face face;
    if (FT_New_Face(freetype, path, 0, &face) != 0)
        return false;
    if (face->num_fixed_sizes < 1 || FT_Select_Size(face, 0) != 0) {
        FT_Done_Face(face);
        return false;
    }
    // The file's encoding maps raw character codes whatever its registry;
    // FreeType selects it by itself only when it is Unicode.
    if (!face->charmap && face->num_charmaps > 0)
        FT_Set_Charmap(face, face->charmaps[0]);
    font->face = face;
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
