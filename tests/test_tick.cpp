// The tick against a controlled clock reading on a private X server: when a
// frame is composed, when it is copied to the windows, and the idle wait.
// A composed frame shows as the frame pixmap losing a marker painted on it;
// each copy to a window shows as one NoExpose event for that window (the
// test turns graphics exposures on in the clock's graphics context; the
// running loop turns them off, but tick itself does not care).
#include <gtest/gtest.h>  // before Xlib, whose None and Bool macros clash

#include "app/loop.h"
#include "app/schedule.h"
#include "clock/state.h"
#include "display/setup.h"
#include "settings/settings.h"
#include "clock_support.h"
#include "image_support.h"
#include "settings_support.h"

#include <string>

namespace {

const time_t MIDNIGHT = MARCH_15_2024;
const unsigned long FRAME_MARKER = 0x123456;
const unsigned long WINDOW_MARKER = 0x654321;

struct TickResult {
    bool composed;     // the frame pixmap was painted over
    int mainCopies;    // copies to mainWindow
    int iconCopies;    // copies to iconWindow
    bool windowShowsFrame;
};

class TickTest : public ::testing::Test {
protected:
    static GC markerGC;

    static void SetUpTestSuite()
    {
        ASSERT_TRUE(startDefaultClock("UTC", MIDNIGHT)) << "Xvfb did not start";
        XSetGraphicsExposures(clockDisplay.display, clockDisplay.gc, True);
        XGCValues values;
        values.graphics_exposures = False;
        markerGC = XCreateGC(clockDisplay.display, clockDisplay.rootWindow,
                             GCGraphicsExposures, &values);
    }

    void SetUp() override
    {
        settings.updateInterval = 1;
        // Start every test right after a redraw at a known second.
        fakeNow = MIDNIGHT;
        lastRedrawTime = fakeNow - 1;
        tick();
    }

    static Image windowSized(Drawable drawable)
    {
        return readImage(clockDisplay.display, drawable, settings.windowWidth,
                         settings.windowHeight);
    }

    // Counts (and removes) the NoExpose events of the two windows.
    static void countCopies(int *mainCopies, int *iconCopies)
    {
        Display *d = clockDisplay.display;
        XSync(d, False);
        XEvent event;
        while (XCheckTypedEvent(d, NoExpose, &event)) {
            if (event.xnoexpose.drawable == clockDisplay.mainWindow)
                ++*mainCopies;
            else if (event.xnoexpose.drawable == clockDisplay.iconWindow)
                ++*iconCopies;
        }
    }

    // Paints the markers, leaves nothing of earlier copies in the queue.
    static void prepare()
    {
        Display *d = clockDisplay.display;
        int ignored = 0;
        countCopies(&ignored, &ignored);
        XSetForeground(d, markerGC, FRAME_MARKER);
        XFillRectangle(d, clockDisplay.framePixmap, markerGC, 0, 0, settings.windowWidth,
                       settings.windowHeight);
        XSetForeground(d, markerGC, WINDOW_MARKER);
        XFillRectangle(d, clockDisplay.mainWindow, markerGC, 0, 0, settings.windowWidth,
                       settings.windowHeight);
        XSync(d, False);
    }

    static void sendExpose(int count)
    {
        XEvent event = {};
        event.xexpose.type = Expose;
        event.xexpose.window = clockDisplay.mainWindow;
        event.xexpose.width = 10;
        event.xexpose.height = 10;
        event.xexpose.count = count;
        XSendEvent(clockDisplay.display, clockDisplay.mainWindow, False, ExposureMask, &event);
        XSync(clockDisplay.display, False);
    }

    static TickResult observeTick(time_t now)
    {
        fakeNow = now;
        tick();
        TickResult r{};
        countCopies(&r.mainCopies, &r.iconCopies);
        Image frame = windowSized(clockDisplay.framePixmap);
        r.composed = countPixels(frame, FRAME_MARKER, 0, 0, frame.width - 1, frame.height - 1) == 0;
        r.windowShowsFrame = windowSized(clockDisplay.mainWindow).pixels == frame.pixels;
        return r;
    }
};
GC TickTest::markerGC;

TEST_F(TickTest, OneFramePerSecondAndNoneWithinTheSameSecond)
{
    for (int second = 1; second <= 3; second++) {
        prepare();
        TickResult first = observeTick(MIDNIGHT + second);
        EXPECT_TRUE(first.composed) << second;
        EXPECT_EQ(first.mainCopies, 1) << second;
        EXPECT_EQ(first.iconCopies, 1) << second;
        EXPECT_TRUE(first.windowShowsFrame) << second;
        EXPECT_EQ(lastRedrawTime, MIDNIGHT + second);
        EXPECT_EQ(redrawPending, 0);
        ASSERT_NE(shownTime, nullptr);
        EXPECT_EQ(shownTime->tm_sec, second);

        for (int again = 0; again < 3; again++) {
            prepare();
            TickResult same = observeTick(MIDNIGHT + second);
            EXPECT_FALSE(same.composed) << second;
            EXPECT_EQ(same.mainCopies + same.iconCopies, 0) << second;
        }
    }
}

TEST_F(TickTest, AnIntervalOfFiveComposesEveryFifthSecond)
{
    settings.updateInterval = 5;
    std::string composedSeconds;
    for (int second = 1; second <= 15; second++) {
        prepare();
        TickResult r = observeTick(MIDNIGHT + second);
        if (r.composed)
            composedSeconds += std::to_string(second) + " ";
        EXPECT_EQ(r.mainCopies, r.composed ? 1 : 0) << second;
    }
    EXPECT_EQ(composedSeconds, "5 10 15 ");
}

TEST_F(TickTest, AClockSetBackRedrawsAtOnce)
{
    settings.updateInterval = 5;
    prepare();
    TickResult r = observeTick(MIDNIGHT - 3600);
    EXPECT_TRUE(r.composed);
    EXPECT_EQ(r.mainCopies, 1);
    EXPECT_EQ(lastRedrawTime, MIDNIGHT - 3600);
    ASSERT_NE(shownTime, nullptr);
    EXPECT_EQ(shownTime->tm_hour, 23);
}

TEST_F(TickTest, AnExposureAloneCopiesTheLastFrameWithoutComposing)
{
    prepare();
    sendExpose(1);
    sendExpose(0);
    TickResult r = observeTick(MIDNIGHT);
    EXPECT_FALSE(r.composed);
    EXPECT_EQ(r.mainCopies, 1);
    EXPECT_EQ(r.iconCopies, 1);
    EXPECT_TRUE(r.windowShowsFrame);
    EXPECT_EQ(redrawPending, 0);
}

TEST_F(TickTest, AFrameAndAnExposureInOneTickCopyOnce)
{
    prepare();
    sendExpose(0);
    TickResult r = observeTick(MIDNIGHT + 1);
    EXPECT_TRUE(r.composed);
    EXPECT_EQ(r.mainCopies, 1);
    EXPECT_EQ(r.iconCopies, 1);
    EXPECT_TRUE(r.windowShowsFrame);
}

TEST_F(TickTest, WithIntervalFiveAnAlarmRunsOnlyOnARedrawSecondAndOnce)
{
    AlarmList alarms;
    alarms.add(0, 0, 7, "between");
    alarms.add(0, 0, 10, "onRedraw");
    settings.updateInterval = 5;
    // Several ticks a second, as an event-driven loop may make them.
    for (int second = 1; second <= 14; second++)
        for (int again = 0; again < 3; again++) {
            fakeNow = MIDNIGHT + second;
            tick();
        }
    EXPECT_EQ(alarms.ran(), "onRedraw\n");
}

struct WaitCase {
    const char *name;
    long seconds, nanoseconds;  // the real-time clock now
    long tickSecond;            // what the clock read
    long dueSecond;             // when the next tick is due
    int capMs;                  // the longest wait allowed
    int expected;               // with a margin of 2 ms
};

TEST(TickWait, UntilJustAfterTheDueSecond)
{
    const WaitCase cases[] = {
        {"exactly on a second", 100, 0, 100, 101, 10000, 1002},
        {"just after a second", 100, 1, 100, 101, 10000, 1002},
        {"a millisecond after", 100, 1000000, 100, 101, 10000, 1001},
        {"half way", 100, 500000000, 100, 101, 10000, 502},
        {"just before a second", 100, 999999999, 100, 101, 10000, 3},
        {"a millisecond before", 100, 999000000, 100, 101, 10000, 3},
        {"tick read the previous second", 101, 1000000, 100, 101, 10000, 1},
        {"a command held the tick", 105, 300000000, 100, 101, 10000, 1},
        {"clock set back since the tick", 50, 300000000, 100, 101, 10000, 1},
        {"the next minute", 100, 250000000, 100, 160, 3600000, 59752},
        {"beyond the cap", 100, 250000000, 100, 160, 10000, 10000},
        {"just within the cap", 100, 0, 100, 110, 10000, 10000},
        {"an interval of years", 100, 0, 100, 100 + 86400L * 3650, 3600000, 3600000},
        {"due already", 100, 0, 100, 100, 10000, 0},
    };
    for (const WaitCase &c : cases) {
        struct timespec now;
        now.tv_sec = c.seconds;
        now.tv_nsec = c.nanoseconds;
        int wait = tickWaitMilliseconds(now, c.tickSecond, c.dueSecond, 2, c.capMs);
        EXPECT_EQ(wait, c.expected) << c.name;
        EXPECT_GE(wait, 0) << c.name;
        EXPECT_LE(wait, c.capMs) << c.name;
    }
}

}  // namespace
