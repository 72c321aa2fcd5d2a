// The clock's one settings record, its defaults, the rules both
// configuration layers apply alike, and the bounded string copy every text
// option goes through. Filled by start-up; display set-up then settles what
// the server decides (labelOn when the font fails, the window size from the
// geometry, scale and smooth). Read-only after that, except the alarms'
// fired flags.
#pragma once

#include <cstddef>
#include <cstdint>

// One scheduled command from an `at` line of the resource file.
struct AlarmEntry {
    int hour;            // hour of day to match, compared with the shifted hour
    int minute;          // minute to match
    int second;          // second to match
    int fired;           // 0 armed, 1 the command has run for the current match
    char command[256];   // shell command, at most 255 characters
};

// Which layers one hand is drawn with (0 off, 1 on).
struct HandLayers {
    short stroke;        // a line from the tail point to the tip
    short outline;       // the closed edge of the hand's triangle
    short fill;          // the filled triangle
};

// Hand index wherever three per-hand values stand together.
enum { SECOND_HAND = 0, MINUTE_HAND = 1, HOUR_HAND = 2 };

// The two characters that mean "override not given" in the six hand
// outline and fill colour fields.
extern const char NOT_GIVEN_MARKER[];
bool overrideGiven(const char *field);

struct ClockSettings {
    int withdrawn;                 // start as a withdrawn dock tile
    int iconic;                    // start iconified
    int noborder;                  // no bevelled border
    int handThicknessGiven;        // handThickness was set explicitly
    int fancyHands;                // filled and edged triangle hands
    int outlinedHands;             // outlined triangle hands
    char title[64];                // window and icon title
    char displayName[64];          // X display name; empty: from the environment
    char geometry[64];             // X geometry string
    char rcPath[256];              // resource file path
    int64_t updateInterval;        // seconds between redraws, at least 1
    short drawSecondHand;          // draw the second hand
    short drawDayDate;             // day-of-week and date indicators
    short drawAMPM;                // AM/PM indicator
    unsigned short drawTicks;      // 0 none, 1 five-minute marks, 2 all minutes
    short floatSeconds;            // second hand as a floating indicator
    short thinSeconds;             // 1-pixel second hand
    unsigned short handThickness;  // hand thickness (no range check)
    unsigned short outThickness;   // outline thickness (no range check)
    short neonHands;               // neon shading of the hands
    HandLayers handLayers[3];      // derived once after the command line
    unsigned int windowWidth;      // window and pixmap width
    unsigned int windowHeight;     // window and pixmap height
    short shift;                   // hours added to local time, -23..23
    short execGiven;               // a click command was given
    short alarmsGiven;             // at least one alarm was read
    char background[64];           // dial background colour
    char foreground[64];           // dial foreground (ticks) colour
    char secondColor[64];          // second hand colour
    char minuteColor[64];          // minute hand colour
    char hourColor[64];            // hour hand colour
    char secondOutColor[64];       // outline override, "<>" when not given
    char minuteOutColor[64];
    char hourOutColor[64];
    char secondFillColor[64];      // fill override, "<>" when not given
    char minuteFillColor[64];
    char hourFillColor[64];
    char dayColor[64];             // day-of-week indicator colour
    char AMPMColor[64];            // AM/PM indicator colour
    char dateColor[64];            // day, month and year indicator colour
    int labelOn;                   // the label is drawn
    int LabelTop;                  // the label goes above the dial
    char Label[256];               // label text
    char Font[256];                // X font name for the label
    char LabelColor[64];           // label colour
    char execProg[256];            // shell command run on a click
    AlarmEntry **alarms;           // scheduled commands in file order, never freed
    int alarmCount;                // number of entries in alarms
    int pushedIn;                  // sunken dial (1) or standing out (0)
    int scale;                     // every pixel drawn as a scale x scale block, 1..8
    int smooth;                    // hands drawn anti-aliased
    int wayland;                   // shown on the Wayland display
    char layer[16];                // Wayland layer name; empty: top
    char output[64];               // Wayland output name; empty: the compositor's choice
};

extern ClockSettings settings;

// Writes every default; touches nothing else.
void setDefaults();

// Stores at most n-1 characters of src into dst, always terminated within
// the first n bytes. A longer source is cut without a message.
void boundedCopy(char *dst, const char *src, int n);

// The same into a whole text field, sized by the field itself.
template <size_t N>
void boundedCopy(char (&field)[N], const char *src)
{
    boundedCopy(field, src, static_cast<int>(N));
}

// The click command, and a resource file path from -rc, are copied with a
// size one below their field's: they keep at most 254 characters, whoever
// writes them.
enum { COMMAND_COPY_SIZE = 255 };

// Fancy hands: filled and edged triangles, thicker (5) unless a hand
// thickness was given.
void setFancyHands();
// No foreground: no day, date, AM/PM or tick marks.
void clearForeground();
