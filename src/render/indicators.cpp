// The indicator sheets' colouring and placement. The images themselves are
// in sprite_images.cpp.
#include "render/indicators.h"

#include "settings/settings.h"

#include <cstdio>

// "." is the ink of the digits but the background of the months.
const SpriteSheetKind spriteSheetKinds[SPRITE_SHEET_COUNT] = {
    {DAY_SHEET_LINE, 'c', 'l', "day_of_week"},
    {AMPM_SHEET_LINE, 'c', 'l', "AM/PM indicator"},
    {DIGIT_SHEET_LINE, 'c', '.', "digits"},
    {MONTH_SHEET_LINE, '.', 'o', "months"},
};

const char *sheetInk(int kind)
{
    const char *inks[SPRITE_SHEET_COUNT] = {settings.dayColor, settings.AMPMColor,
                                            settings.dateColor, settings.dateColor};
    return inks[kind];
}

void formatColorLine(char *line, char pixelChar, const char *colour)
{
    std::snprintf(line, COLOR_LINE_SIZE, "%c c %s", pixelChar, colour);
}

void reportSheetFailure(int status, int kind)
{
    std::printf("tavock : (%d) not enough free color cells for %s.\n", status,
                spriteSheetKinds[kind].what);
    std::fflush(stdout);
}

int indicatorCopies(const struct tm &t, int width, int height,
                    IndicatorCopy copies[MAX_INDICATOR_COPIES])
{
    int n = 0;
    if (settings.drawAMPM)
        copies[n++] = {AMPM_SHEET, t.tm_hour < 12 ? 0 : 6, 13, 7, width - 14, 1};
    if (!settings.drawDayDate)
        return n;
    copies[n++] = {DAY_SHEET, 6 * t.tm_wday, 13, 7, 1, 1};
    // The tens digit is always drawn: days 1 to 9 get a leading zero.
    copies[n++] = {DIGIT_SHEET, 7 * (t.tm_mday / 10), 7, 8, 1, height - 9};
    copies[n++] = {DIGIT_SHEET, 7 * (t.tm_mday % 10), 7, 8, 8, height - 9};
    copies[n++] = {MONTH_SHEET, 6 * t.tm_mon, 19, 7, 18, height - 8};
    if (width >= 52) {
        int year = t.tm_year % 100;
        copies[n++] = {DIGIT_SHEET, 7 * (year / 10), 7, 8, 38, height - 9};
        copies[n++] = {DIGIT_SHEET, 7 * (year % 10), 7, 8, 45, height - 9};
    }
    return n;
}
