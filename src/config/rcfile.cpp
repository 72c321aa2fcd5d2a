// The resource file, the middle configuration layer: each line is a keyword
// and a value, looked up in a table of forty-three keywords and applied to the
// settings in file order. Bad lines are reported on standard error and
// skipped; the file itself is opened and closed by start-up.
#include "config/rcfile.h"

#include "config/cmdline.h"
#include "settings/settings.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

const int LINE_SIZE = 200;  // one read: at most 199 characters
const int SLOT_SIZE = 100;  // keyword and value: at most 99 characters each

const char WORD_SEPARATORS[] = " \t\n";
// Tab and newline are deliberately not time-field separators.
const char TIME_SEPARATORS[] = " :";

void reportMissingParam(int slot)
{
    std::fprintf(stderr, "parsercfile: missing param[%d]\n", slot);
}

void reportUnknownKeyword()
{
    std::fputs("tavock: error in tavockrc file, ignoring...\n", stderr);
}

void reportUnquoted()
{
    std::fputs("tavock: executables must be double-quoted in tavockrc file, ignoring...\n", stderr);
}

// A keyword or value that would not fit its 100-byte slot is refused whole:
// a cut colour or command would be a silently different one.
void reportTooLong()
{
    std::fputs("tavock: value too long in tavockrc file, ignoring...\n", stderr);
}

// Takes the next token at pos: skips separators, ends the token at the next
// separator or the line's end, and consumes that one separator. The
// separator set may change from one token to the next on the same line.
bool takeToken(const char *&pos, const char *separators, const char *&start, size_t &length)
{
    pos += std::strspn(pos, separators);
    if (*pos == '\0')
        return false;
    start = pos;
    length = std::strcspn(pos, separators);
    pos += length;
    if (*pos != '\0')
        pos++;
    return true;
}

void copySlot(char *slot, const char *start, size_t length)
{
    std::memcpy(slot, start, length);
    slot[length] = '\0';
}

// A flag that keeps the number it was set with: 0 leaves it alone, and a
// non-zero number whose low 16 bits are zero (65536) still means "on", so
// it never clears one.
template <auto field>
void keepsNonZero(const char *value)
{
    if (int number = readNumber(value)) {
        short stored = narrowSigned16(number);
        settings.*field = stored != 0 ? stored : 1;
    }
}

// A switch the file can only turn on: any non-zero number sets it to 1, and
// 0 leaves it as it was.
template <auto field>
void onlySets(const char *value)
{
    if (readNumber(value))
        settings.*field = 1;
}

// A draw switch the file can only clear: 0 clears it, anything else leaves
// it as it was.
template <auto field>
void onlyClears(const char *value)
{
    if (readNumber(value) == 0)
        settings.*field = 0;
}

void setExecProg(const char *value)
{
    const char *quote = std::strchr(value, '"');
    if (!quote || !storeQuotedCommand(settings.execProg, COMMAND_COPY_SIZE, quote + 1)) {
        reportUnquoted();
        return;
    }
    settings.execGiven = 1;
}

void appendAlarm(int hour, int minute, int second, const char *afterQuote)
{
    AlarmEntry entry{};
    entry.hour = hour;
    entry.minute = minute;
    entry.second = second;
    entry.fired = 0;
    if (!storeQuotedCommand(entry.command, sizeof entry.command, afterQuote)) {
        reportUnquoted();
        return;
    }
    const size_t maxEntries = SIZE_MAX / sizeof(AlarmEntry *);
    AlarmEntry **grown = nullptr;
    AlarmEntry *stored = nullptr;
    if (settings.alarmCount < INT_MAX && static_cast<size_t>(settings.alarmCount) + 1 <= maxEntries) {
        grown = static_cast<AlarmEntry **>(std::realloc(
            settings.alarms, (static_cast<size_t>(settings.alarmCount) + 1) * sizeof(AlarmEntry *)));
        if (grown)
            settings.alarms = grown;  // the old list is gone once realloc succeeds
        stored = static_cast<AlarmEntry *>(std::malloc(sizeof(AlarmEntry)));
    }
    if (!grown || !stored) {
        std::fputs("tavock: memory reallocation error, exiting\n", stderr);
        std::exit(1);
    }
    *stored = entry;
    settings.alarms[settings.alarmCount++] = stored;
    settings.alarmsGiven = 1;
}

// `at HH:MM:SS "command"`; value is the line after the keyword.
void addAlarm(const char *value)
{
    const char *pos = value;
    const char *hour, *minute, *second;
    size_t hourLength, minuteLength, secondLength;
    if (!takeToken(pos, TIME_SEPARATORS, hour, hourLength) ||
        !takeToken(pos, TIME_SEPARATORS, minute, minuteLength) ||
        !takeToken(pos, TIME_SEPARATORS, second, secondLength)) {
        reportUnquoted();
        return;
    }
    // The command search starts three characters into the seconds field, so
    // the seconds must be two characters ended by a blank (or colon). With one
    // digit the search would skip the quote; with a tab after them the field
    // would run on into the command or past the line's end.
    if (secondLength != 2 || second[2] == '\0') {
        reportUnquoted();
        return;
    }
    const char *quote = std::strchr(second + 3, '"');
    if (!quote) {
        reportUnquoted();
        return;
    }
    // The time fields end at a separator, which is never a digit, so reading
    // the number in place sees exactly the field.
    appendAlarm(readNumber(hour), readNumber(minute), readNumber(second), quote + 1);
}

}  // namespace

bool storeQuotedCommand(char *field, size_t fieldSize, const char *afterQuote)
{
    size_t length = std::strlen(afterQuote);
    if (length < 2)
        return false;
    // A copy of size length - 1 keeps all but the last two characters; the
    // line buffer keeps that below any field, but never trust it blindly.
    size_t size = length - 1;
    if (size > fieldSize)
        size = fieldSize;
    boundedCopy(field, afterQuote, static_cast<int>(size));
    return true;
}

const RcKeyword rcKeywords[] = {
    {"geometry", RC_VALUE_TOKEN, [](const char *v) { boundedCopy(settings.geometry, v); }},
    {"background", RC_VALUE_TOKEN, [](const char *v) { boundedCopy(settings.background, v); }},
    {"foreground", RC_VALUE_TOKEN, [](const char *v) { boundedCopy(settings.foreground, v); }},
    {"secondColor", RC_VALUE_TOKEN, [](const char *v) { boundedCopy(settings.secondColor, v); }},
    {"minuteColor", RC_VALUE_TOKEN, [](const char *v) { boundedCopy(settings.minuteColor, v); }},
    {"hourColor", RC_VALUE_TOKEN, [](const char *v) { boundedCopy(settings.hourColor, v); }},
    {"secondOutColor", RC_VALUE_TOKEN, [](const char *v) { boundedCopy(settings.secondOutColor, v); }},
    {"minuteOutColor", RC_VALUE_TOKEN, [](const char *v) { boundedCopy(settings.minuteOutColor, v); }},
    {"hourOutColor", RC_VALUE_TOKEN, [](const char *v) { boundedCopy(settings.hourOutColor, v); }},
    {"secondFillColor", RC_VALUE_TOKEN, [](const char *v) { boundedCopy(settings.secondFillColor, v); }},
    {"minuteFillColor", RC_VALUE_TOKEN, [](const char *v) { boundedCopy(settings.minuteFillColor, v); }},
    {"hourFillColor", RC_VALUE_TOKEN, [](const char *v) { boundedCopy(settings.hourFillColor, v); }},
    {"dayColor", RC_VALUE_TOKEN, [](const char *v) { boundedCopy(settings.dayColor, v); }},
    {"AMPMColor", RC_VALUE_TOKEN, [](const char *v) { boundedCopy(settings.AMPMColor, v); }},
    {"dateColor", RC_VALUE_TOKEN, [](const char *v) { boundedCopy(settings.dateColor, v); }},
    {"Label", RC_VALUE_TOKEN,
     [](const char *v) {
         settings.labelOn = 1;
         boundedCopy(settings.Label, v);
     }},
    {"Font", RC_VALUE_TOKEN, [](const char *v) { boundedCopy(settings.Font, v); }},
    {"LabelColor", RC_VALUE_TOKEN, [](const char *v) { boundedCopy(settings.LabelColor, v); }},
    {"LabelTop", RC_VALUE_TOKEN, [](const char *v) { settings.LabelTop = readNumber(v) != 0; }},
    {"drawSecondHand", RC_VALUE_TOKEN,
     [](const char *v) { settings.drawSecondHand = readNumber(v) != 0; }},
    {"drawDayDate", RC_VALUE_TOKEN, onlyClears<&ClockSettings::drawDayDate>},
    {"drawAMPM", RC_VALUE_TOKEN, onlyClears<&ClockSettings::drawAMPM>},
    {"drawTicks", RC_VALUE_TOKEN, onlyClears<&ClockSettings::drawTicks>},
    // Cleared ticks stay cleared: all ticks only upgrades ticks still drawn.
    {"drawAllTicks", RC_VALUE_TOKEN,
     [](const char *v) {
         if (readNumber(v) == 1 && settings.drawTicks != 0)
             settings.drawTicks = 2;
     }},
    {"drawForeground", RC_VALUE_TOKEN,
     [](const char *v) {
         if (readNumber(v) == 0)
             clearForeground();
     }},
    {"floatSeconds", RC_VALUE_TOKEN, keepsNonZero<&ClockSettings::floatSeconds>},
    {"thinSeconds", RC_VALUE_TOKEN, keepsNonZero<&ClockSettings::thinSeconds>},
    {"handThickness", RC_VALUE_TOKEN,
     [](const char *v) {
         settings.handThickness = narrowUnsigned16(readNumber(v));
         settings.handThicknessGiven = 1;
     }},
    {"outThickness", RC_VALUE_TOKEN,
     [](const char *v) { settings.outThickness = narrowUnsigned16(readNumber(v)); }},
    {"fancyHands", RC_VALUE_TOKEN,
     [](const char *v) {
         if (readNumber(v))
             setFancyHands();
     }},
    {"outlinedHands", RC_VALUE_TOKEN, onlySets<&ClockSettings::outlinedHands>},
    {"neonHands", RC_VALUE_TOKEN, onlySets<&ClockSettings::neonHands>},
    {"execProg", RC_VALUE_REST, setExecProg},
    {"at", RC_VALUE_TIME_FIELDS, addAlarm},
    {"withdrawn", RC_VALUE_TOKEN, onlySets<&ClockSettings::withdrawn>},
    {"iconic", RC_VALUE_TOKEN, onlySets<&ClockSettings::iconic>},
    {"standout", RC_VALUE_TOKEN,
     [](const char *v) {
         if (readNumber(v))
             settings.pushedIn = 0;
     }},
    {"noborder", RC_VALUE_TOKEN, onlySets<&ClockSettings::noborder>},
    {"shift", RC_VALUE_TOKEN, [](const char *v) { settings.shift = shiftFrom(readNumber(v)); }},
    {"title", RC_VALUE_TOKEN, [](const char *v) { boundedCopy(settings.title, v); }},
    {"scale", RC_VALUE_TOKEN, [](const char *v) { settings.scale = scaleFrom(readNumber(v)); }},
    {"smooth", RC_VALUE_TOKEN, onlySets<&ClockSettings::smooth>},
    {"wayland", RC_VALUE_TOKEN, onlySets<&ClockSettings::wayland>},
    {"layer", RC_VALUE_TOKEN, [](const char *v) { boundedCopy(settings.layer, v); }},
    {"output", RC_VALUE_TOKEN, [](const char *v) { boundedCopy(settings.output, v); }},
};
const int rcKeywordCount = static_cast<int>(sizeof rcKeywords / sizeof rcKeywords[0]);

const RcKeyword *findRcKeyword(const char *keyword)
{
    for (const RcKeyword &row : rcKeywords)
        if (std::strcmp(row.keyword, keyword) == 0)
            return &row;
    return nullptr;
}

void parseRcLine(const char *line)
{
    // Only column 0 marks a comment or an empty line.
    if (line[0] == '#' || line[0] == '\n')
        return;

    const char *pos = line;
    const char *start;
    size_t length;
    if (!takeToken(pos, WORD_SEPARATORS, start, length)) {
        // Only blanks and tabs: no keyword, nothing to apply.
        reportMissingParam(0);
        return;
    }
    if (length >= static_cast<size_t>(SLOT_SIZE)) {
        reportTooLong();
        return;
    }
    char keyword[SLOT_SIZE];
    copySlot(keyword, start, length);
    const RcKeyword *row = findRcKeyword(keyword);

    if (row && row->valueKind == RC_VALUE_TIME_FIELDS) {
        row->apply(pos);
        return;
    }

    char value[SLOT_SIZE];
    if (row && row->valueKind == RC_VALUE_REST) {
        // Everything after the separator that ended the keyword, quotes,
        // blanks and newline included.
        length = std::strlen(pos);
        if (length >= static_cast<size_t>(SLOT_SIZE)) {
            reportTooLong();
            return;
        }
        copySlot(value, pos, length);
    } else {
        if (!takeToken(pos, WORD_SEPARATORS, start, length)) {
            // A value-less line never empties a field: the rule is skipped.
            reportMissingParam(1);
            if (!row)
                reportUnknownKeyword();
            return;
        }
        if (length >= static_cast<size_t>(SLOT_SIZE)) {
            reportTooLong();
            return;
        }
        copySlot(value, start, length);
        // Anything after the value is ignored without a message.
    }

    if (!row) {
        reportUnknownKeyword();
        return;
    }
    row->apply(value);
}

void parsercfile(FILE *file)
{
    char line[LINE_SIZE];
    // A line longer than the buffer arrives in pieces, each parsed alone.
    while (std::fgets(line, sizeof line, file))
        parseRcLine(line);
}
