// The wake schedule against a tick every second, on a private X server and a
// simulated clock: over two days the loop that wakes only when something can
// change shows the same picture at every second and runs the same alarm
// commands at the same seconds. A set clock shows at once when the
// clock-change notice (here a pipe standing in for the kernel's) arrives, and
// an event that arrives while a frame is sent is not left waiting.
#include <gtest/gtest.h>  // before Xlib, whose None and Bool macros clash

#include "app/loop.h"
#include "clock/state.h"
#include "display/setup.h"
#include "render/geometry.h"
#include "settings/settings.h"
#include "clock_support.h"
#include "process.h"
#include "settings_support.h"
#include "xserver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// Friday 2024-03-29 23:58:34 in Berlin: two midnights, the change to summer
// time (02:00 becomes 03:00 on the 31st) and a new month lie ahead.
const time_t START = 1711753114;
const time_t END = START + 2 * 86400 + 600;

class WakeSchedule : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(startDefaultClock("Europe/Berlin", START)) << "Xvfb did not start";
    }
};

// The first frame at `second`, as set-up shows it, and the loop's start.
void firstFrameAt(time_t second)
{
    fakeNow = currentTime = lastRedrawTime = second;
    redraw();
    presentFrame();
    startLoop();
}

// What a frame is drawn from: the geometry of each hand drawn, and the
// indicator sprites chosen.
std::string picture()
{
    std::string text;
    char part[96];
    for (int i = SECOND_HAND; i <= HOUR_HAND; i++) {
        if (i == SECOND_HAND && !settings.drawSecondHand) {
            text += "[no second hand]";
            continue;
        }
        const int *l = handGeometry.line[i];
        const XPoint *p = handGeometry.polygon[i];
        std::snprintf(part, sizeof part, "[%d,%d %d,%d | %d,%d %d,%d %d,%d]", l[0], l[1], l[2],
                      l[3], p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y);
        text += part;
    }
    const struct tm &t = *shownTime;
    std::snprintf(part, sizeof part, " %s day %d date %02d/%02d/%02d", t.tm_hour < 12 ? "AM" : "PM",
                  t.tm_wday, t.tm_mday, t.tm_mon + 1, t.tm_year % 100);
    return text + part;
}

struct Alarm {
    int hour, minute, second;
    const char *name;
};

// Times on the shown (shifted) clock. With the first frame at second 34,
// an interval of 5 redraws at seconds 4, 9, ... 59 and one of 60 at 34.
const Alarm ALARMS[] = {
    {23, 59, 59, "lastSecondOfTheDay"},
    {23, 59, 59, "sameTimeAsTheOneBefore"},
    {0, 0, 0, "midnight"},
    {7, 30, 9, "onTheFiveSecondRedraws"},
    {7, 30, 13, "betweenThem"},
    {12, 1, 34, "onTheMinuteRedraws"},
    {2, 30, 19, "halfPastTwo"},  // without a shift, in the hour Sunday skips
};
const int ALARM_COUNT = sizeof ALARMS / sizeof ALARMS[0];

struct RunRecord {
    std::vector<std::pair<time_t, std::string>> pictures;  // each change, from when
    std::vector<std::pair<time_t, std::string>> commands;  // each alarm run, when
    std::string output;                                    // what the commands wrote
    int ticks = 0;
};

struct Row {
    int64_t interval;
    bool secondHand;
    short shift;
};

// Two days of simulated seconds, with a tick every second (the reference)
// or with the loop's wake-ups: at the due second, and now and then at
// another second, as when input arrives.
RunRecord simulate(const Row &row, bool scheduled)
{
    AlarmList alarms;
    for (const Alarm &a : ALARMS)
        alarms.add(a.hour, a.minute, a.second, a.name);
    settings.updateInterval = row.interval;
    settings.drawSecondHand = row.secondHand;
    settings.shift = row.shift;

    RunRecord run;
    firstFrameAt(START);
    int fired[ALARM_COUNT] = {};
    for (time_t second = START + 1; second <= END; second++) {
        fakeNow = second;
        if (!scheduled) {
            tick();
            run.ticks++;
        } else if (second >= nextTickTime) {
            serveWakeUp();
            run.ticks++;
            EXPECT_GT(nextTickTime, second) << "a wake-up scheduled for the past";
        } else if (second % 89 == 0) {
            serveWakeUp();
        }
        std::string shown = picture();
        if (run.pictures.empty() || run.pictures.back().second != shown)
            run.pictures.emplace_back(second, shown);
        // An entry's command runs exactly when its check sets it fired.
        for (int i = 0; i < ALARM_COUNT; i++) {
            if (alarms.entries[i].fired && !fired[i])
                run.commands.emplace_back(second, ALARMS[i].name);
            fired[i] = alarms.entries[i].fired;
        }
    }
    run.output = alarms.ran();
    return run;
}

TEST_F(WakeSchedule, TwoDaysShowAndRunWhatATickEverySecondDoes)
{
    const Row rows[] = {
        {1, true, 0}, {1, false, 5}, {5, true, -7}, {5, false, 0}, {60, true, 5}, {60, false, -7},
    };
    const int64_t seconds = END - START;
    for (const Row &row : rows) {
        SCOPED_TRACE("interval " + std::to_string(row.interval) +
                     (row.secondHand ? ", second hand" : ", no second hand") + ", shift " +
                     std::to_string(row.shift));
        RunRecord everySecond = simulate(row, false);
        RunRecord scheduled = simulate(row, true);

        ASSERT_EQ(scheduled.pictures.size(), everySecond.pictures.size());
        for (size_t i = 0; i < everySecond.pictures.size(); i++) {
            ASSERT_EQ(scheduled.pictures[i], everySecond.pictures[i]) << "change " << i;
        }
        EXPECT_EQ(scheduled.commands, everySecond.commands);
        EXPECT_EQ(scheduled.output, everySecond.output);
        EXPECT_FALSE(everySecond.commands.empty()) << "no alarm ran: the run proves little";

        // Wake-ups: the first tick comes at the second after the first frame
        // (its record is checked against the alarms then), and then each
        // redraw second with a second hand; without it about one a minute,
        // and two for each alarm run (it runs, it is armed again).
        const int64_t first = row.interval > 1 ? 1 : 0;
        if (row.secondHand)
            EXPECT_EQ(scheduled.ticks, first + seconds / row.interval);
        else
            EXPECT_LE(scheduled.ticks, first + 1 + seconds / std::max<int64_t>(row.interval, 60) +
                                           2 * static_cast<int64_t>(everySecond.commands.size()));
    }
}

struct ClockChange {
    const char *name;
    int64_t interval;
    time_t jump;        // how far the clock is set, in seconds
    bool notice;        // the clock-change descriptor becomes readable
    bool redrawsAtOnce;
};

TEST_F(WakeSchedule, ASetClockShowsAtOnceOnTheNotice)
{
    const ClockChange changes[] = {
        {"forward three hours, notice", 1, 3 * 3600, true, true},
        {"back an hour, notice", 60, -3600, true, true},
        {"forward 10 s with an interval of 60, notice", 60, 10, true, true},
        {"forward 10 s, no notice: the minute shown is the same", 1, 10, false, false},
        {"forward three hours, no notice: seen at the next look", 1, 3 * 3600, false, true},
        {"back an hour, no notice: seen at the next look", 1, -3600, false, true},
    };
    // The pipe stands in for the kernel's timer descriptor.
    int notice[2];
    ASSERT_EQ(pipe2(notice, O_NONBLOCK | O_CLOEXEC), 0);
    if (clockChangeFd >= 0)
        close(clockChangeFd);
    clockChangeFd = notice[0];
    settings.drawSecondHand = 0;
    settings.shift = 0;
    const time_t start = START + 6;  // 23:58:40

    for (const ClockChange &c : changes) {
        SCOPED_TRACE(c.name);
        settings.updateInterval = c.interval;
        firstFrameAt(start);
        fakeNow = start + 1;
        loopPass();  // the first tick
        loopPass();  // a wake-up with nothing due
        ASSERT_EQ(nextTickTime, start + (c.interval == 1 ? 20 : 60));

        fakeNow = start + 1 + c.jump;
        if (c.notice) {
            ASSERT_EQ(write(notice[1], "x", 1), 1);
        }
        loopPass();
        EXPECT_EQ(lastRedrawTime == fakeNow, c.redrawsAtOnce);
        if (c.redrawsAtOnce) {
            struct tm expected;
            localtime_r(&fakeNow, &expected);
            ASSERT_NE(shownTime, nullptr);
            EXPECT_EQ(shownTime->tm_hour, expected.tm_hour);
            EXPECT_EQ(shownTime->tm_min, expected.tm_min);
            EXPECT_GT(nextTickTime, fakeNow);
        }
    }
    clockChangeFd = -1;
    close(notice[0]);
    close(notice[1]);
}

// Where the zone file is watched, the zone is read again only on its notice
// (here a pipe standing in for the file watch), and the new zone shows at
// once even without a second hand; unwatched, once a minute.
TEST_F(WakeSchedule, ANewTimeZoneShowsAtOnceOnTheNotice)
{
    int notice[2];
    ASSERT_EQ(pipe2(notice, O_NONBLOCK | O_CLOEXEC), 0);
    settings.drawSecondHand = 0;
    settings.updateInterval = 1;
    settings.shift = 0;
    const time_t start = START + 6;  // 23:58:40 in Berlin, 07:58:40 in Tokyo
    struct {
        bool watched, notice;
        int hourShown;
    } cases[] = {{true, false, 23}, {true, true, 7}, {false, false, 23}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.watched ? "watched" : "unwatched") +
                     (c.notice ? ", notice" : ""));
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        zoneChangeFd = c.watched ? notice[0] : -1;
        firstFrameAt(start);
        zoneWatched = c.watched;
        fakeNow = start + 1;
        loopPass();  // the first tick, at 23:58:41
        setenv("TZ", "Asia/Tokyo", 1);
        if (c.notice) {
            ASSERT_EQ(write(notice[1], "x", 1), 1);
        }
        fakeNow = start + 2;
        loopPass();
        ASSERT_NE(shownTime, nullptr);
        EXPECT_EQ(shownTime->tm_hour, c.hourShown);
        EXPECT_EQ(lastRedrawTime == fakeNow, c.notice);
    }
    // Unwatched, the next minute reads the zone again.
    fakeNow = nextTickTime;
    loopPass();
    EXPECT_EQ(shownTime->tm_hour, 7);

    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    zoneChangeFd = -1;
    zoneWatched = false;
    close(notice[0]);
    close(notice[1]);
}

// libxcb polls the socket before it writes, and reads what has arrived into
// a queue of its own: an event that arrives just before the frame is sent
// leaves the socket quiet. It must still be served without waiting.
TEST_F(WakeSchedule, AnEventReadWhileSendingIsServedWithoutWaiting)
{
    TempDir dir;
    const std::string log = dir.path + "/clicks";
    boundedCopy(settings.execProg, ("echo click >> " + log).c_str(), sizeof settings.execProg);
    settings.updateInterval = 1;
    firstFrameAt(START);
    fakeNow = START;
    loopPass();
    loopPass();

    Display *other = XOpenDisplay(sharedXDisplay().c_str());
    ASSERT_NE(other, nullptr);
    XEvent press = {};
    press.xbutton.type = ButtonPress;
    press.xbutton.window = clockDisplay.mainWindow;
    // An empty event mask sends it to the window's creator, the clock.
    XSendEvent(other, clockDisplay.mainWindow, False, 0, &press);
    XSync(other, False);
    presentFrame();  // something to send, so that libxcb polls and reads
    loopPass();
    XCloseDisplay(other);
    EXPECT_EQ(readFile(log), "click\n");
}

}  // namespace
