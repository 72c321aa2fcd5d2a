// The X server's answer to a core font name, worked out from its font path
// alone: each folder's fonts.dir and fonts.alias in two sorted tables,
// the names with sizes and the scalable ones; aliases followed from the
// first folder again; sizes completed and rounded as the server rounds
// them; and for a size no file has, the bitmap the server's scaler picks.
// Used once at start-up: the tables live for one lookup.
#include "canvas/font/fontpath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

const FontFolder coreFontPath[] = {
    {"/usr/share/fonts/X11/misc", true},     {"/usr/share/fonts/X11/cyrillic", true},
    {"/usr/share/fonts/X11/100dpi", false},  {"/usr/share/fonts/X11/75dpi", false},
    {"/usr/share/fonts/X11/Type1", true},    {"/usr/share/fonts/X11/100dpi", true},
    {"/usr/share/fonts/X11/75dpi", true},
};
const int coreFontPathCount = sizeof coreFontPath / sizeof coreFontPath[0];

namespace {

enum { NAME_SIZE = 1024 };  // the server's longest font name, and then some

// The server follows at most this many aliases for one name.
const int ALIAS_HOPS = 20;

// XLFD sizes count 72.27 points to the inch.
const double POINTS_PER_INCH = 72.27;

// Below this the server takes a scale factor or a determinant for zero.
const double TINY = 1.0e-20;

bool readable(const char *folder, const char *file)
{
    char path[NAME_SIZE];
    struct stat st;
    return std::snprintf(path, sizeof path, "%s/%s", folder, file) < NAME_SIZE &&
           stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

// The server lowers names as ISO Latin-1 text before it compares them.
void lower(char *text)
{
    for (; *text; text++) {
        unsigned char u = static_cast<unsigned char>(*text);
        if ((u >= 'A' && u <= 'Z') || (u >= 0xc0 && u <= 0xde && u != 0xd7))
            *text = static_cast<char>(u + 0x20);
    }
}

bool endsWith(const char *text, const char *end)
{
    size_t n = std::strlen(text), m = std::strlen(end);
    return n >= m && std::strcmp(text + n - m, end) == 0;
}

// The files the server has a renderer for: its bitmap readers and FreeType.
bool isBitmapFile(const char *file)
{
    for (const char *kind : {".pcf", ".pcf.gz", ".pcf.Z", ".pcf.bz2", ".bdf", ".bdf.gz",
                             ".bdf.Z", ".bdf.bz2"})
        if (endsWith(file, kind))
            return true;
    return false;
}

bool isOutlineFile(const char *file)
{
    for (const char *kind : {".pfa", ".pfb", ".ttf", ".ttc", ".otf", ".otc"})
        if (endsWith(file, kind))
            return true;
    return false;
}

// The 14 dashes of an XLFD name; false unless it has exactly 14 and
// starts with one.
bool xlfdDashes(const char *name, const char *dash[14])
{
    int n = 0;
    for (const char *p = name; *p; p++)
        if (*p == '-') {
            if (n == 14)
                return false;
            dash[n++] = p;
        }
    return n == 14 && name[0] == '-';
}

// A size field: "*" is -1, digits their value (an empty field 0); false
// for anything else, a matrix among them.
bool sizeField(const char *begin, const char *end, int *value)
{
    if (end - begin == 1 && *begin == '*') {
        *value = -1;
        return true;
    }
    long v = 0;
    for (const char *p = begin; p < end; p++) {
        if (*p < '0' || *p > '9' || v > 100000000)
            return false;
        v = v * 10 + (*p - '0');
    }
    *value = static_cast<int>(v);
    return true;
}

// name with its text from field `from` on replaced: the server's way of
// writing sizes into a name (into out, NAME_SIZE bytes).
bool replaceSizes(const char *name, const char *const dash[14], const char *sizes, char *out)
{
    int n = std::snprintf(out, NAME_SIZE, "%.*s%s%s", static_cast<int>(dash[6] + 1 - name), name,
                          sizes, dash[12]);
    return n > 0 && n < NAME_SIZE;
}

// The spacing field with its dashes, "-*-" when it is empty.
void spacingOf(const char *const dash[14], char *out, size_t size)
{
    int length = static_cast<int>(dash[11] - dash[10] - 1);
    std::snprintf(out, size, "-%.*s-", length, length ? dash[10] + 1 : "*");
}

// The name as the server keys what it may scale: pixel and point size 0,
// resolutions "*", average width 0 (into out, NAME_SIZE bytes).
bool zeroedName(const char *name, char *out)
{
    const char *dash[14];
    XlfdValues v;
    if (!parseXlfd(name, &v) || !xlfdDashes(name, dash))
        return false;
    char spacing[NAME_SIZE], sizes[NAME_SIZE + 64];
    spacingOf(dash, spacing, sizeof spacing);
    std::snprintf(sizes, sizeof sizes, "0-0-*-*%s0", spacing);
    return replaceSizes(name, dash, sizes, out);
}

// An alias target with the sizes the request gives written into it, as
// the server hands a scalable alias the sizes asked (into out).
void carrySizes(const char *aliasName, const char *target, const XlfdValues &asked, char *out)
{
    std::snprintf(out, NAME_SIZE, "%s", target);
    lower(out);
    XlfdValues alias, to;
    const char *dash[14];
    // Only an alias without sizes of its own passes sizes on.
    if (!parseXlfd(aliasName, &alias) || alias.pixel != 0 || alias.point != 0 ||
        !parseXlfd(out, &to) || !xlfdDashes(out, dash))
        return;
    int pixel = asked.pixel > 0 ? asked.pixel : std::max(to.pixel, 0);
    int point = asked.point > 0 ? asked.point : std::max(to.point, 0);
    char spacing[NAME_SIZE], sizes[NAME_SIZE + 64], carried[NAME_SIZE];
    spacingOf(dash, spacing, sizeof spacing);
    std::snprintf(sizes, sizeof sizes, "%d-%d-%d-%d%s%d", pixel, point,
                  asked.resX >= 0 ? asked.resX : to.resX, asked.resY >= 0 ? asked.resY : to.resY,
                  spacing, asked.width >= 0 ? asked.width : to.width);
    if (replaceSizes(out, dash, sizes, carried))
        std::snprintf(out, NAME_SIZE, "%s", carried);
}

// ---- One folder's tables ----

enum EntryKind { ENTRY_BITMAP, ENTRY_ALIAS, ENTRY_OUTLINE, ENTRY_TWIN };

struct DirEntry {
    char *name;    // lower-case
    char *target;  // its file, or the name an alias stands for
    EntryKind kind;
};

template <typename T> bool append(T *&items, int &count, int &capacity, const T &item)
{
    if (count == capacity) {
        int more = capacity ? capacity * 2 : 64;
        T *grown = static_cast<T *>(std::realloc(items, sizeof(T) * static_cast<size_t>(more)));
        if (!grown)
            return false;
        items = grown;
        capacity = more;
    }
    items[count++] = item;
    return true;
}

struct EntryTable {
    DirEntry *entries = nullptr;
    int count = 0, capacity = 0;
};

// A bitmap with sizes in a scaled folder: a source its twin may scale.
struct ScaleSource {
    char *twin;  // its name with pixel size, point size and average width 0
    char *file;  // its path
    FontSizes size;
};

struct FontDir {
    FontFolder folder;
    EntryTable fixed;     // names with sizes, names that are no XLFD, aliases
    EntryTable scalable;  // names without sizes, and the scaled folders' twins
    ScaleSource *sources = nullptr;  // in fonts.dir order
    int sourceCount = 0, sourceCapacity = 0;
};

char *copyText(const char *text)
{
    char *copy = static_cast<char *>(std::malloc(std::strlen(text) + 1));
    if (copy)
        std::strcpy(copy, text);
    return copy;
}

void addEntry(EntryTable &table, const char *name, const char *target, EntryKind kind)
{
    DirEntry e = {copyText(name), copyText(target), kind};
    if (!e.name || !e.target || !append(table.entries, table.count, table.capacity, e)) {
        std::free(e.name);
        std::free(e.target);
    }
}

bool hasEntry(const EntryTable &table, const char *name)
{
    for (int i = 0; i < table.count; i++)
        if (std::strcmp(table.entries[i].name, name) == 0)
            return true;
    return false;
}

// One fonts.dir line: a bitmap with sizes answers its own name; in a
// scaled folder it also stands behind its twin, the name without sizes.
// A name without sizes is scalable (an outline font).
void addFont(FontDir &dir, const char *file, char *name)
{
    bool bitmap = isBitmapFile(file);
    if (!bitmap && !isOutlineFile(file))
        return;
    lower(name);
    XlfdValues v;
    bool xlfd = parseXlfd(name, &v);
    bool sized = xlfd && (v.pixel > 0 || v.point > 0);
    if (!xlfd || sized) {
        addEntry(dir.fixed, name, file, bitmap ? ENTRY_BITMAP : ENTRY_OUTLINE);
        if (!xlfd || !dir.folder.scaled || !bitmap)
            return;
        const char *dash[14];
        char twin[NAME_SIZE], sizes[NAME_SIZE], path[NAME_SIZE];
        FontSizes size;
        if (!xlfdDashes(name, dash) || !completeFontSizes(v, 0, &size))
            return;
        std::snprintf(sizes, sizeof sizes, "0-0-%d-%d%.*s0", v.resX, v.resY,
                      static_cast<int>(dash[11] - dash[10] + 1), dash[10]);
        if (!replaceSizes(name, dash, sizes, twin))
            return;
        if (!hasEntry(dir.scalable, twin))
            addEntry(dir.scalable, twin, file, ENTRY_TWIN);
        std::snprintf(path, sizeof path, "%s/%s", dir.folder.path, file);
        ScaleSource s = {copyText(twin), copyText(path), size};
        if (!s.twin || !s.file || !append(dir.sources, dir.sourceCount, dir.sourceCapacity, s)) {
            std::free(s.twin);
            std::free(s.file);
        }
        return;
    }
    // A bitmap listed without sizes has nothing to scale from here.
    if (!bitmap)
        addEntry(dir.scalable, name, file, ENTRY_OUTLINE);
}

// One word of fonts.alias into word: a run without blanks, or a quoted
// text; a backslash keeps the next character in either.
bool aliasWord(const char *&p, char *word)
{
    p += std::strspn(p, " \t");
    if (*p == '\0')
        return false;
    size_t n = 0;
    bool quoted = *p == '"';
    for (p += quoted; *p && (quoted ? *p != '"' : *p != ' ' && *p != '\t'); p++) {
        if (*p == '\\' && p[1])
            p++;
        if (n + 1 < NAME_SIZE)
            word[n++] = *p;
    }
    if (quoted && *p == '"')
        p++;
    word[n] = '\0';
    return true;
}

bool byName(const DirEntry &a, const DirEntry &b)
{
    return compareFontNames(a.name, b.name) < 0;
}

// Reads a folder as the server does at start-up. False when it has
// neither list: the server drops such an element from its path.
bool readFontDir(const FontFolder &folder, FontDir &dir)
{
    dir = FontDir{};
    dir.folder = folder;
    char path[NAME_SIZE], line[2 * NAME_SIZE];
    bool any = false;
    std::snprintf(path, sizeof path, "%s/fonts.dir", folder.path);
    if (FILE *file = std::fopen(path, "r")) {
        any = true;
        bool first = true;
        while (std::fgets(line, sizeof line, file)) {
            line[std::strcspn(line, "\r\n")] = '\0';
            char *name = line + std::strcspn(line, " \t");
            if (first || *name == '\0') {
                first = false;  // the count of fonts
                continue;
            }
            *name++ = '\0';
            name += std::strspn(name, " \t");
            if (*name)
                addFont(dir, line, name);
        }
        std::fclose(file);
    }
    std::snprintf(path, sizeof path, "%s/fonts.alias", folder.path);
    if (FILE *file = std::fopen(path, "r")) {
        any = true;
        char alias[NAME_SIZE], target[NAME_SIZE];
        while (std::fgets(line, sizeof line, file)) {
            line[std::strcspn(line, "\r\n")] = '\0';
            const char *p = line;
            if (line[0] == '!' || !aliasWord(p, alias) || !aliasWord(p, target))
                continue;
            lower(alias);
            lower(target);
            addEntry(dir.fixed, alias, target, ENTRY_ALIAS);
        }
        std::fclose(file);
    }
    std::stable_sort(dir.fixed.entries, dir.fixed.entries + dir.fixed.count, byName);
    std::stable_sort(dir.scalable.entries, dir.scalable.entries + dir.scalable.count, byName);
    return any;
}

void freeTable(EntryTable &table)
{
    for (int i = 0; i < table.count; i++) {
        std::free(table.entries[i].name);
        std::free(table.entries[i].target);
    }
    std::free(table.entries);
}

void freeFontDir(FontDir &dir)
{
    freeTable(dir.fixed);
    freeTable(dir.scalable);
    for (int i = 0; i < dir.sourceCount; i++) {
        std::free(dir.sources[i].twin);
        std::free(dir.sources[i].file);
    }
    std::free(dir.sources);
}

// The first entry in the table's order that pattern matches.
const DirEntry *findEntry(const EntryTable &table, const char *pattern)
{
    for (int i = 0; i < table.count; i++)
        if (fontNameMatches(pattern, table.entries[i].name))
            return &table.entries[i];
    return nullptr;
}

bool sameSize(const FontSizes &a, const FontSizes &b)
{
    return a.resX == b.resX && a.resY == b.resY && a.pixelX == b.pixelX &&
           a.pixelY == b.pixelY && a.pointX == b.pointX && a.pointY == b.pointY;
}

// The twin of folder d that stands for the same family as twin, found in
// folder answered: that twin itself there, the first of the family
// elsewhere; null when the folder has none.
const char *familyTwin(const FontDir *dirs, int d, int answered, const char *twin,
                       const char *family)
{
    if (d == answered)
        return twin;
    const DirEntry *entry = findEntry(dirs[d].scalable, family);
    return entry && entry->kind == ENTRY_TWIN ? entry->name : nullptr;
}

// A bitmap of exactly the size asked behind the twin, in the folder that
// answered and then in the others in path order: opened as itself.
bool sameSizeBitmap(const FontDir *dirs, int count, int answered, const char *twin,
                    const char *family, const FontSizes &want, FontSource *source)
{
    for (int k = -1; k < count; k++) {
        int d = k < 0 ? answered : k;
        const char *name = k == answered ? nullptr : familyTwin(dirs, d, answered, twin, family);
        for (int i = 0; name && i < dirs[d].sourceCount; i++)
            if (std::strcmp(dirs[d].sources[i].twin, name) == 0 &&
                sameSize(dirs[d].sources[i].size, want)) {
                source->route = FONT_BITMAP;
                std::snprintf(source->file, FONT_FILE_SIZE, "%s", dirs[d].sources[i].file);
                return true;
            }
    }
    return false;
}

// Enlarging is favoured over reducing, which aliases.
int scaleScore(double m, int weight)
{
    if (m >= 1.0)
        return m == 1.0 ? 16 * weight : m == 2.0 ? 4 * weight : static_cast<int>(3.0 * weight / m);
    return static_cast<int>(2.0 * weight * m);
}

// The score of a bitmap within a pixel of the size asked. The server
// divides by both sizes where it meant to divide by their ratio, so a
// bitmap smaller than the size asked scores about 0 and one up to a pixel
// larger wins.
int nearScore(double asked, double has, int weight)
{
    return asked / has >= 1.0 ? static_cast<int>(8.0 * weight / asked / has)
                              : static_cast<int>(8.0 * weight * asked / has);
}

// The bitmaps behind a twin, from every folder the server scales from, in
// path order and fonts.dir order: the best within a pixel of the size
// asked on both axes, used 1:1; the best by the scaler's score otherwise.
// (The server would also take a bitmap that matches the name asked in a
// later folder than the one that answered; the paths of Debian's servers
// list the unscaled folders first, which answer such names before.)
bool chooseBitmap(const FontDir *dirs, int count, int answered, const char *twin,
                  const char *family, const FontSizes &want, FontSource *source)
{
    const ScaleSource *best = nullptr, *unscaled = nullptr;
    int bestScore = 0, unscaledScore = -1;
    double bestX = HUGE_VAL, bestY = HUGE_VAL;
    for (int d = 0; d < count; d++) {
        const char *name = familyTwin(dirs, d, answered, twin, family);
        for (int i = 0; name && i < dirs[d].sourceCount; i++) {
            const ScaleSource &s = dirs[d].sources[i];
            if (std::strcmp(s.twin, name) != 0)
                continue;
            double x = want.pixelX / s.size.pixelX, y = want.pixelY / s.size.pixelY;
            int score = scaleScore(y, 10) + scaleScore(x, 1);
            if (score > bestScore ||
                (score == bestScore && (y < bestY || (y == bestY && x < bestX)))) {
                best = &s;
                bestScore = score;
                bestX = x;
                bestY = y;
            }
            if (std::fabs(x) > TINY && std::fabs(y) > TINY &&
                std::fabs(want.pixelX - s.size.pixelX) < 1 &&
                std::fabs(want.pixelY - s.size.pixelY) < 1) {
                score = nearScore(want.pixelY, s.size.pixelY, 10) +
                        nearScore(want.pixelX, s.size.pixelX, 1);
                if (score > unscaledScore) {
                    unscaled = &s;
                    unscaledScore = score;
                }
            }
        }
    }
    if (unscaled) {
        best = unscaled;
        bestX = bestY = 1.0;
    }
    if (!best)
        return false;
    source->route = FONT_SCALED_BITMAP;
    std::snprintf(source->file, FONT_FILE_SIZE, "%s", best->file);
    source->size = want;
    source->scaleX = bestX;
    source->scaleY = bestY;
    return true;
}

// What one folder answers for name: 1 a font (in source), 2 an alias (its
// target with the sizes carried, in alias), 0 nothing.
int askFolder(const FontDir *dirs, int count, int d, const char *name, int resolution,
              FontSource *source, char *alias)
{
    const FontDir &dir = dirs[d];
    XlfdValues asked;
    bool xlfd = parseXlfd(name, &asked);
    char zeroed[NAME_SIZE];
    bool hasZeroed = xlfd && zeroedName(name, zeroed);
    const DirEntry *e = findEntry(dir.fixed, name);
    if (!e && hasZeroed)
        e = findEntry(dir.fixed, zeroed);
    if (e && e->kind == ENTRY_ALIAS) {
        if (xlfd)
            carrySizes(e->name, e->target, asked, alias);
        else {
            std::snprintf(alias, NAME_SIZE, "%s", e->target);
            lower(alias);
        }
        return 2;
    }
    if (e) {
        source->route = e->kind == ENTRY_OUTLINE ? FONT_OUTLINE : FONT_BITMAP;
        std::snprintf(source->file, FONT_FILE_SIZE, "%s/%s", dir.folder.path, e->target);
        if (e->kind == ENTRY_OUTLINE && !(xlfd && completeFontSizes(asked, resolution,
                                                                    &source->size)))
            return 0;
        return 1;
    }
    e = hasZeroed ? findEntry(dir.scalable, zeroed) : nullptr;
    if (!e)
        e = findEntry(dir.scalable, name);
    FontSizes want;
    if (!e || !xlfd || !completeFontSizes(asked, resolution, &want))
        return 0;
    if (e->kind == ENTRY_OUTLINE) {
        source->route = FONT_OUTLINE;
        std::snprintf(source->file, FONT_FILE_SIZE, "%s/%s", dir.folder.path, e->target);
        source->size = want;
        return 1;
    }
    // Sizes under a pixel are refused before any bitmap is looked at.
    if (want.pixelX < 1.0 || want.pixelY < 1.0)
        return 0;
    char family[NAME_SIZE];
    if (!zeroedName(e->name, family))
        return 0;
    if (sameSizeBitmap(dirs, count, d, e->name, family, want, source))
        return 1;
    return chooseBitmap(dirs, count, d, e->name, family, want, source) ? 1 : 0;
}

} // namespace

int presentFontFolders(FontFolder *folders, int max)
{
    int n = 0;
    for (int i = 0; i < coreFontPathCount && n < max; i++)
        if (readable(coreFontPath[i].path, "fonts.dir") ||
            readable(coreFontPath[i].path, "fonts.alias"))
            folders[n++] = coreFontPath[i];
    return n;
}

double roundFontSize(double value)
{
    if (value == 0)
        return value;
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const int dropped = 52 - 9;  // keep the leading bit and 9 more
    bits += uint64_t{1} << dropped;
    bits &= ~((uint64_t{1} << dropped) - 1);
    std::memcpy(&value, &bits, sizeof bits);
    return value;
}

bool parseXlfd(const char *name, XlfdValues *values)
{
    const char *dash[14];
    if (!xlfdDashes(name, dash))
        return false;
    const char *end = name + std::strlen(name);
    auto field = [&](int i, int *value) {
        return sizeField(dash[i] + 1, i < 13 ? dash[i + 1] : end, value);
    };
    return field(6, &values->pixel) && field(7, &values->point) && field(8, &values->resX) &&
           field(9, &values->resY) && field(11, &values->width);
}

bool completeFontSizes(const XlfdValues &v, int resolution, FontSizes *s)
{
    bool pixelGiven = v.pixel > 0, pointGiven = v.point > 0;
    int x = v.resX, y = v.resY;
    if (!pixelGiven || !pointGiven) {
        if (x <= 0)
            x = resolution;
        if (y <= 0)
            y = resolution;
    } else {
        if (y <= 0)
            y = static_cast<int>(v.pixel * POINTS_PER_INCH / (v.point / 10.0) + .5);
        if (x <= 0)
            x = y;  // square pixels
    }
    if (x <= 0 || y <= 0)
        return false;
    double pointX = 12.0, pointY = 12.0;  // the server's default size
    if (pointGiven)
        pointX = pointY = v.point / 10.0;
    double pixelX = v.pixel, pixelY = v.pixel, slack = 1.0;
    if (pixelGiven) {
        // A pixel size is one along y; x is made to match the pixel shape.
        slack = static_cast<double>(x) / y;
        pixelX *= slack;
    }
    const double sx = x / POINTS_PER_INCH, sy = y / POINTS_PER_INCH;
    if (!pointGiven && pixelGiven) {
        // The point size from the pixel size, to the tenth, so that the
        // completed name repeats; the pixel size then from that.
        pointX = static_cast<int>(pixelX / sx * 10.0 + .5) / 10.0;
        pointY = static_cast<int>(pixelY / sy * 10.0 + .5) / 10.0;
    }
    double fromPointX = pointX * sx, fromPointY = pointY * sy;
    if (pixelGiven && (std::fabs(pixelX - fromPointX) > slack || std::fabs(pixelY - fromPointY) > 1))
        return false;
    s->pixelX = roundFontSize(fromPointX);
    s->pixelY = roundFontSize(fromPointY);
    s->pointX = roundFontSize(pointX);
    s->pointY = roundFontSize(pointY);
    s->resX = x;
    s->resY = y;
    return true;
}

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

// The resolution the server assumes for a name that gives neither a
// resolution nor both sizes: Xvfb's screen, and any screen of 88 dpi or
// more, gets 100.
static const int CLIENT_RESOLUTION = 100;

bool findCoreFont(const char *name, const FontFolder *folders, int count, FontSource *source)
{
    FontDir *dirs = static_cast<FontDir *>(std::calloc(static_cast<size_t>(count) + 1,
                                                       sizeof(FontDir)));
    if (!dirs)
        return false;
    int n = 0;
    for (int i = 0; i < count; i++)
        if (readFontDir(folders[i], dirs[n]))
            n++;
        else
            freeFontDir(dirs[n]);
    char asked[NAME_SIZE], alias[NAME_SIZE];
    std::snprintf(asked, sizeof asked, "%s", name);
    lower(asked);
    int found = 0;
    for (int hops = 0; hops <= ALIAS_HOPS && found != 1; hops++) {
        found = 0;
        // The first folder that answers wins; an alias starts again from
        // the first folder with the name it stands for.
        for (int d = 0; d < n && !found; d++)
            found = askFolder(dirs, n, d, asked, CLIENT_RESOLUTION, source, alias);
        if (found == 2)
            std::snprintf(asked, sizeof asked, "%s", alias);
        else if (found == 0)
            break;
    }
    for (int i = 0; i < n; i++)
        freeFontDir(dirs[i]);
    std::free(dirs);
    return found == 1;
}
