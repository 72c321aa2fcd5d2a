// The display set-up against a private Xvfb (depth 24): faces, indicators,
// hands and window properties read back from the server.
#include <gtest/gtest.h>  // before Xlib, whose None and Bool macros clash

#include "app/loop.h"
#include "clock/state.h"
#include "display/setup.h"
#include "display/compose.h"
#include "render/geometry.h"
#include "render/layout.h"
#include "settings/settings.h"
#include "clock_support.h"
#include "image_support.h"
#include "styles.h"
#include "xserver.h"

#include <X11/Xutil.h>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

// The clock keeps everything set-up builds for the whole run, and these
// tests run set-up many times: under AddressSanitizer, leaks are expected.
extern "C" const char *__asan_default_options()
{
    return "detect_leaks=0";
}

namespace {

// Default colours as a 24-bit true-colour screen gives them.
const unsigned long BACKGROUND = 0x385971, FOREGROUND = 0xffffff, INK = 0xa0a0a0;
const unsigned long DARK_BEVEL = 0x233746, LIGHT_BEVEL = 0x70b2e2;
const unsigned long SECOND = 0xefc669, MINUTE = 0xff3030, HOUR = 0xef3838;

class DisplayTest : public ::testing::Test {
protected:
    std::vector<std::string> args = {"tavock"};
    std::string server;  // another X server than the shared one, when set

    void SetUp() override
    {
        ASSERT_FALSE(sharedXDisplay().empty()) << "Xvfb did not start";
        TearDown();  // a row of a table may leave its clock running
        setenv("TZ", "UTC", 1);
        tzset();
        std::memset(&settings, 0, sizeof settings);
        std::memset(&clockDisplay, 0, sizeof clockDisplay);
        setDefaults();
        clockSource = fakeClock;
        fakeNow = MARCH_15_2024 + 14 * 3600 + 5 * 60 + 9;
    }
    void TearDown() override
    {
        if (clockDisplay.display) {
            XSync(clockDisplay.display, False);
            XCloseDisplay(clockDisplay.display);
            clockDisplay.display = nullptr;
        }
        clockSource = time;
    }

    // Runs the whole set-up with the settings as they stand.
    void start()
    {
        startClock(server.empty() ? sharedXDisplay() : server, args);
        // Any protocol error would already have ended the program here.
        XSync(clockDisplay.display, False);
    }

    void composeAt(int hour, int minute, int second)
    {
        ASSERT_TRUE(shownGeometryAt(hour, minute, second));
        composeFrame(clockDisplay.framePixmap, *shownTime);
    }

    // The whole frame, or width x height pixels (a scaled window).
    Image read(Drawable d, unsigned int width = 0, unsigned int height = 0)
    {
        return readImage(clockDisplay.display, d, width ? width : settings.windowWidth,
                         height ? height : settings.windowHeight);
    }
};

// ---- The face ----

using Points = std::vector<std::pair<int, int>>;

const Points defaultTicks = {{27, 2}, {39, 5}, {49, 13}, {52, 23}, {49, 33}, {39, 41},
                             {27, 44}, {15, 41}, {5, 33}, {2, 23}, {5, 13}, {15, 5},
                             {2, 22}, {2, 24}, {3, 23}, {52, 22}, {52, 24}, {51, 23},
                             {26, 2}, {28, 2}, {27, 3}, {26, 44}, {28, 44}, {27, 43}};

TEST_F(DisplayTest, DefaultFaceTicksAndBevel)
{
    start();
    Image face = read(clockDisplay.facePixmap);
    for (auto [x, y] : defaultTicks)
        EXPECT_EQ(face.at(x, y), FOREGROUND) << x << "," << y;
    // Exactly these 24 points carry the foreground (the double-precision
    // neighbour (40, 5) stays background).
    EXPECT_EQ(countPixels(face, FOREGROUND, 0, 0, 53, 53), 24);
    EXPECT_EQ(face.at(40, 5), BACKGROUND);
    EXPECT_EQ(face.at(27, 23), BACKGROUND);
    // Sunken: dark top and left, light right and bottom (which win the
    // corners they share with the dark edges).
    struct {
        int x, y;
        unsigned long pixel;
    } edges[] = {{0, 0, DARK_BEVEL},    {10, 0, DARK_BEVEL},   {52, 0, DARK_BEVEL},
                 {0, 10, DARK_BEVEL},   {0, 52, DARK_BEVEL},   {53, 0, LIGHT_BEVEL},
                 {53, 30, LIGHT_BEVEL}, {53, 53, LIGHT_BEVEL}, {30, 53, LIGHT_BEVEL},
                 {0, 53, LIGHT_BEVEL},  {1, 1, BACKGROUND},    {52, 52, BACKGROUND}};
    for (const auto &e : edges)
        EXPECT_EQ(face.at(e.x, e.y), e.pixel) << e.x << "," << e.y;
}

TEST_F(DisplayTest, StandoutSwapsTheShadesAndNoborderDropsThem)
{
    settings.pushedIn = 0;
    start();
    Image face = read(clockDisplay.facePixmap);
    EXPECT_EQ(face.at(10, 0), LIGHT_BEVEL);
    EXPECT_EQ(face.at(0, 10), LIGHT_BEVEL);
    EXPECT_EQ(face.at(53, 10), DARK_BEVEL);
    EXPECT_EQ(face.at(10, 53), DARK_BEVEL);
    SetUp();

    settings.noborder = 1;
    start();
    Image plain = read(clockDisplay.facePixmap);
    for (auto [x, y] : Points{{10, 0}, {0, 10}, {53, 10}, {10, 53}, {0, 0}, {53, 53}})
        EXPECT_EQ(plain.at(x, y), BACKGROUND) << x << "," << y;
}

TEST_F(DisplayTest, DatelessDialAndAllTicks)
{
    settings.drawDayDate = 0;
    settings.drawTicks = 2;
    start();
    EXPECT_EQ(clockLayout.centerY, 27);
    EXPECT_EQ(clockLayout.radiusY, 24);
    Image face = read(clockDisplay.facePixmap);
    for (auto [x, y] : Points{{27, 2}, {39, 5}, {49, 15}, {52, 27}, {49, 39}, {39, 49},
                              {27, 52}, {15, 49}, {5, 39}, {2, 27}, {5, 15}, {15, 5}}) {
        EXPECT_EQ(face.at(x, y), FOREGROUND) << x << "," << y;
        // A five-pixel cross around every five-minute mark.
        EXPECT_EQ(face.at(x + 1, y), FOREGROUND) << x << "," << y;
        EXPECT_EQ(face.at(x, y - 1), FOREGROUND) << x << "," << y;
    }
    EXPECT_EQ(countPixels(face, FOREGROUND, 0, 0, 53, 53), 108);
}

// ---- Indicators ----

// Ink rows of the glyphs the example date needs, as the design draws them.
const char *const pmGlyph[] = {"cllllcclccclc", "clccclcllcllc", "cllllcclclclc",
                               "clccccclccclc", "clccccclccclc"};
const char *const fridayGlyph[] = {"clllllcllllcc", "clccccclccclc", "clllcccllllcc",
                                   "clccccclccclc", "clccccclccclc"};
const char *const marchGlyph[] = {".o...o..ooo..oooo..", ".oo.oo.o...o.o...o.",
                                  ".o.o.o.ooooo.oooo..", ".o...o.o...o.o...o.",
                                  ".o...o.o...o.o...o."};
const char *const digitGlyphs[10][6] = {
    {}, {"ccc.ccc", "cc..ccc", "ccc.ccc", "ccc.ccc", "ccc.ccc", "cc...cc"},
    {"cc...cc", "c.ccc.c", "ccccc.c", "ccc..cc", "c..cccc", "c.....c"},
    {}, {"cccc.cc", "ccc..cc", "cc.c.cc", "c.....c", "cccc.cc", "cccc.cc"},
    {"c.....c", "c.ccccc", "c....cc", "ccccc.c", "c.ccc.c", "cc...cc"},
};

// Checks a glyph window at (x, y): background row, ink rows, background row.
void expectGlyph(const Image &image, int x, int y, const char *const *rows, int inkRows,
                 char ink, const char *what)
{
    int width = static_cast<int>(std::strlen(rows[0]));
    for (int r = 0; r < inkRows + 2; r++)
        for (int c = 0; c < width; c++) {
            bool isInk = r > 0 && r <= inkRows && rows[r - 1][c] == ink;
            EXPECT_EQ(image.at(x + c, y + r), isInk ? INK : BACKGROUND)
                << what << " at " << c << "," << r;
        }
}

TEST_F(DisplayTest, ExampleDateSpritesAtTheirPlaces)
{
    start();
    // Hands off, so that only the indicators lie over the face.
    std::memset(settings.handLayers, 0, sizeof settings.handLayers);
    composeAt(14, 5, 9);
    Image frame = read(clockDisplay.framePixmap);
    expectGlyph(frame, 40, 1, pmGlyph, 5, 'l', "PM");
    expectGlyph(frame, 1, 1, fridayGlyph, 5, 'l', "Friday");
    expectGlyph(frame, 1, 45, digitGlyphs[1], 6, '.', "day tens");
    expectGlyph(frame, 8, 45, digitGlyphs[5], 6, '.', "day units");
    expectGlyph(frame, 18, 46, marchGlyph, 5, 'o', "March");
    expectGlyph(frame, 38, 45, digitGlyphs[2], 6, '.', "year tens");
    expectGlyph(frame, 45, 45, digitGlyphs[4], 6, '.', "year units");
}

TEST_F(DisplayTest, YearDigitsOnlyFromWidth52)
{
    boundedCopy(settings.geometry, "51x54", 64);
    start();
    composeAt(14, 5, 9);
    Image narrow = read(clockDisplay.framePixmap);
    EXPECT_EQ(countPixels(narrow, INK, 37, 44, 50, 53), 0);
    SetUp();

    boundedCopy(settings.geometry, "52x54", 64);
    start();
    composeAt(14, 5, 9);
    Image wide = read(clockDisplay.framePixmap);
    expectGlyph(wide, 38, 45, digitGlyphs[2], 6, '.', "year tens");
    // The units digit's window ends in the last column, 51.
    expectGlyph(wide, 45, 45, digitGlyphs[4], 6, '.', "year units");
}

// ---- Hands ----

struct Pixel {
    int x, y;
    unsigned long pixel;
};

void expectPixels(const Image &image, const std::vector<Pixel> &pixels)
{
    for (const Pixel &p : pixels)
        EXPECT_EQ(image.at(p.x, p.y), p.pixel) << p.x << "," << p.y;
}

TEST_F(DisplayTest, PlainHandsAtThreeOClockAndTenPastTen)
{
    start();
    composeAt(3, 0, 0);
    Image three = read(clockDisplay.framePixmap);
    // Second (27,23)-(27,3) over minute (27,24)-(27,5); hour (25,23)-(41,23).
    expectPixels(three, {{27, 3, SECOND}, {27, 4, SECOND}, {27, 12, SECOND},
                         {27, 24, MINUTE}, {27, 25, BACKGROUND}, {27, 2, FOREGROUND},
                         {41, 23, HOUR}, {25, 23, HOUR}, {24, 23, BACKGROUND},
                         {42, 23, BACKGROUND}, {27, 23, SECOND}});

    composeAt(10, 10, 30);
    Image tenPast = read(clockDisplay.framePixmap);
    // Second (27,23)-(27,43), minute (26,23)-(46,14), hour (28,24)-(15,17).
    expectPixels(tenPast,
                 {{27, 42, SECOND}, {46, 14, MINUTE}, {15, 17, HOUR}, {27, 5, BACKGROUND}});
}

TEST_F(DisplayTest, FancyHandTipsInTheLighterShade)
{
    settings.fancyHands = 1;
    settings.handThickness = 5;
    start();
    composeAt(10, 10, 30);
    Image frame = read(clockDisplay.framePixmap);
    // Outline tips: lighter shades (1.8) of the hand colours.
    expectPixels(frame, {{27, 43, 0xffffbd}, {46, 14, 0xff5656}, {15, 17, 0xff6464}});
    // The triangles are filled in the hand colour.
    EXPECT_GT(countPixels(frame, MINUTE, 28, 15, 45, 23), 0);
    EXPECT_GT(countPixels(frame, HOUR, 16, 17, 27, 25), 0);
}

TEST_F(DisplayTest, NoSecondHandAndThinSecondHand)
{
    settings.drawSecondHand = 0;
    start();
    composeAt(3, 0, 0);
    Image without = read(clockDisplay.framePixmap);
    EXPECT_EQ(countPixels(without, SECOND, 0, 0, 53, 53), 0);
    expectPixels(without, {{27, 10, MINUTE}, {27, 5, MINUTE}, {27, 4, BACKGROUND}});
    SetUp();

    settings.thinSeconds = 1;
    settings.handThickness = 10;
    start();
    composeAt(3, 0, 0);
    Image thin = read(clockDisplay.framePixmap);
    // The minute stroke (width 3) lies under a 1-pixel second stroke.
    expectPixels(thin, {{27, 10, SECOND}, {26, 10, MINUTE}, {28, 10, MINUTE}});
    EXPECT_EQ(countPixels(thin, SECOND, 0, 10, 53, 10), 1);
}

// ---- First frame and odd sizes ----

TEST_F(DisplayTest, FirstFrameIsOnTheWindow)
{
    start();
    Image frame = read(clockDisplay.framePixmap), window = read(clockDisplay.mainWindow);
    EXPECT_EQ(frame.at(41, 2), INK);  // part of the PM glyph at 14:05:09
    for (int y = 0; y < 54; y++)
        for (int x = 0; x < 54; x++)
            ASSERT_EQ(window.at(x, y), frame.at(x, y)) << x << "," << y;
}

TEST_F(DisplayTest, UnconvertibleReadingLeavesTheFaceOnTheFrame)
{
    fakeNow = LLONG_MAX;  // localtime cannot convert this
    start();
    Image frame = read(clockDisplay.framePixmap), face = read(clockDisplay.facePixmap);
    for (int y = 0; y < 54; y++)
        for (int x = 0; x < 54; x++)
            ASSERT_EQ(frame.at(x, y), face.at(x, y)) << x << "," << y;
}

TEST_F(DisplayTest, UnusableGeometrySidesKeepTheSize)
{
    for (const char *geometry : {"0x0", "40000x40000", "0x60+5+5"}) {
        SetUp();
        boundedCopy(settings.geometry, geometry, 64);
        start();
        EXPECT_EQ(settings.windowWidth, 54u) << geometry;
        EXPECT_EQ(settings.windowHeight, std::string(geometry) == "0x60+5+5" ? 60u : 54u)
            << geometry;
        composeAt(10, 10, 30);
        XWindowAttributes a;
        XGetWindowAttributes(clockDisplay.display, clockDisplay.mainWindow, &a);
        EXPECT_EQ(a.width, 54) << geometry;
    }
}

TEST_F(DisplayTest, TinyWindowWithNegativeRadius)
{
    boundedCopy(settings.geometry, "54x12", 64);
    settings.fancyHands = 1;
    settings.handThickness = 5;
    start();
    EXPECT_EQ(clockLayout.radiusY, -1);
    composeAt(10, 10, 30);
    composeAt(3, 0, 0);
    XSync(clockDisplay.display, False);
    Image frame = read(clockDisplay.framePixmap);
    EXPECT_EQ(frame.at(0, 0), DARK_BEVEL);
}

// ---- Label ----

TEST_F(DisplayTest, LabelInAFontTheServerHas)
{
    settings.labelOn = 1;
    boundedCopy(settings.Font, "6x10", 256);
    boundedCopy(settings.Label, "hi", 256);
    start();
    ASSERT_NE(clockDisplay.labelFont, nullptr);
    int height = clockDisplay.labelFont->max_bounds.ascent +
                 clockDisplay.labelFont->max_bounds.descent;
    EXPECT_EQ(clockLayout.labelY, 44);
    EXPECT_EQ(clockLayout.radiusY, 20 - (height / 2 + 1));
    EXPECT_EQ(clockLayout.labelX, 27 - XTextWidth(clockDisplay.labelFont, "hi", 2) / 2);
    std::memset(settings.handLayers, 0, sizeof settings.handLayers);
    composeAt(14, 5, 9);
    Image frame = read(clockDisplay.framePixmap);
    EXPECT_GT(countPixels(frame, INK, 20, 35, 34, 44), 3);
}

TEST_F(DisplayTest, MissingFontTurnsTheLabelOff)
{
    settings.labelOn = 1;
    boundedCopy(settings.Font, "-nosuch-font-*", 256);
    testing::internal::CaptureStdout();
    start();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "tavock : failed to load font -nosuch-font-*\n"
                   "tavock : warning : the label will not be drawn\n");
    EXPECT_EQ(settings.labelOn, 0);
    EXPECT_EQ(clockLayout.centerY, 23);
    EXPECT_EQ(clockLayout.labelY, 0);
}

// ---- Window properties ----

struct PropertyCase {
    const char *geometry;
    int withdrawn, iconic;
    long hintFlags;
    int gravity, x, y, size;
};

TEST_F(DisplayTest, WindowManagerProperties)
{
    const PropertyCase cases[] = {
        {"", 0, 0, 0x0a, NorthWestGravity, 0, 0, 54},
        {"64x64-0-0", 0, 1, 0x1a, SouthEastGravity, 320 - 64, 240 - 64, 64},
        {"+10+20", 1, 1, 0x5a, NorthWestGravity, 10, 20, 54},
        {"-5+7", 1, 0, 0x5a, NorthEastGravity, 320 - 54 - 5, 7, 54},
        {"+3-4", 0, 0, 0x0a, SouthWestGravity, 3, 240 - 54 - 4, 54},
    };
    for (const PropertyCase &c : cases) {
        SetUp();
        SCOPED_TRACE(c.geometry);
        boundedCopy(settings.geometry, c.geometry, 64);
        boundedCopy(settings.title, "my clock", 64);
        settings.withdrawn = c.withdrawn;
        settings.iconic = c.iconic;
        args = {"tavock", "-geometry", c.geometry};
        start();
        Display *d = clockDisplay.display;
        for (Window w : {clockDisplay.mainWindow, clockDisplay.iconWindow}) {
            XSizeHints hints;
            long supplied;
            ASSERT_TRUE(XGetWMNormalHints(d, w, &hints, &supplied));
            EXPECT_EQ(hints.flags, 0x233);
            EXPECT_EQ(hints.min_width, c.size);
            EXPECT_EQ(hints.max_width, c.size);
            EXPECT_EQ(hints.min_height, c.size);
            EXPECT_EQ(hints.max_height, c.size);
            EXPECT_EQ(hints.win_gravity, c.gravity);
            EXPECT_EQ(hints.x, c.x);
            EXPECT_EQ(hints.y, c.y);
            XWindowAttributes a;
            XGetWindowAttributes(d, w, &a);
            EXPECT_EQ(a.width, c.size);
            EXPECT_EQ(a.x, c.x);
            EXPECT_EQ(a.y, c.y);

            Atom *protocols;
            int count;
            ASSERT_TRUE(XGetWMProtocols(d, w, &protocols, &count));
            ASSERT_EQ(count, 1);
            EXPECT_EQ(protocols[0], XInternAtom(d, "WM_DELETE_WINDOW", True));
            XFree(protocols);
            XTextProperty name;
            ASSERT_TRUE(XGetWMName(d, w, &name));
            EXPECT_STREQ(reinterpret_cast<char *>(name.value), "my clock");
            XFree(name.value);
        }
        XWMHints *wm = XGetWMHints(d, clockDisplay.mainWindow);
        ASSERT_NE(wm, nullptr);
        EXPECT_EQ(wm->flags, c.hintFlags);
        EXPECT_EQ(wm->icon_window, clockDisplay.iconWindow);
        EXPECT_EQ(wm->initial_state,
                  c.withdrawn ? WithdrawnState : c.iconic ? IconicState : NormalState);
        if (c.withdrawn) {
            EXPECT_EQ(wm->window_group, clockDisplay.mainWindow);
        }
        if (c.withdrawn || c.iconic) {
            EXPECT_EQ(wm->icon_x, c.x);
            EXPECT_EQ(wm->icon_y, c.y);
        }
        XFree(wm);
        EXPECT_EQ(XGetWMHints(d, clockDisplay.iconWindow), nullptr);
    }
}

TEST_F(DisplayTest, NamesClassAndCommand)
{
    args = {"tavock", "-title", "x y"};
    boundedCopy(settings.title, "x y", 64);
    start();
    Display *d = clockDisplay.display;
    char *name = nullptr;
    ASSERT_TRUE(XFetchName(d, clockDisplay.mainWindow, &name));
    EXPECT_STREQ(name, "x y");
    XFree(name);
    ASSERT_TRUE(XGetIconName(d, clockDisplay.mainWindow, &name));
    EXPECT_STREQ(name, "x y");
    XFree(name);
    XClassHint hint;
    ASSERT_TRUE(XGetClassHint(d, clockDisplay.mainWindow, &hint));
    EXPECT_STREQ(hint.res_name, "tavock");
    EXPECT_STREQ(hint.res_class, "TAVOCK");
    XFree(hint.res_name);
    XFree(hint.res_class);
    char **argv;
    int argc;
    ASSERT_TRUE(XGetCommand(d, clockDisplay.mainWindow, &argv, &argc));
    ASSERT_EQ(argc, 3);
    EXPECT_STREQ(argv[0], "tavock");
    EXPECT_STREQ(argv[1], "-title");
    EXPECT_STREQ(argv[2], "x y");
    XFreeStringList(argv);
    XWindowAttributes a;
    XGetWindowAttributes(d, clockDisplay.mainWindow, &a);
    EXPECT_EQ(a.map_state, IsViewable);
    XGetWindowAttributes(d, clockDisplay.iconWindow, &a);
    EXPECT_EQ(a.map_state, IsUnmapped);
}

TEST_F(DisplayTest, SelectedInput)
{
    struct {
        int execGiven, withdrawn;
        long mainMask, iconMask;
    } cases[] = {
        {0, 0, ExposureMask, ExposureMask},
        {1, 0, ExposureMask | ButtonPressMask, ExposureMask},
        {0, 1, ExposureMask, ExposureMask | ButtonPressMask},
        {1, 1, ExposureMask | ButtonPressMask, ExposureMask | ButtonPressMask},
    };
    for (const auto &c : cases) {
        SetUp();
        settings.execGiven = static_cast<short>(c.execGiven);
        settings.withdrawn = c.withdrawn;
        start();
        XWindowAttributes a;
        XGetWindowAttributes(clockDisplay.display, clockDisplay.mainWindow, &a);
        EXPECT_EQ(a.your_event_mask, c.mainMask) << c.execGiven << c.withdrawn;
        XGetWindowAttributes(clockDisplay.display, clockDisplay.iconWindow, &a);
        EXPECT_EQ(a.your_event_mask, c.iconMask) << c.execGiven << c.withdrawn;
    }
}

// ---- Scaled and smooth ----

// Window pixel (x, y) must be frame pixel (x / n, y / n).
int blockMismatches(const Image &frame, const Image &window, int n)
{
    if (window.width != frame.width * n || window.height != frame.height * n)
        return -1;
    int bad = 0;
    for (int y = 0; y < window.height; y++)
        for (int x = 0; x < window.width; x++)
            bad += window.at(x, y) != frame.at(x / n, y / n);
    return bad;
}

TEST_F(DisplayTest, ScaledWindowsShowTheFrameBlockForBlock)
{
    struct {
        int scale;
        const char *geometry;
        std::function<void()> style;
        int x, y;  // where the window lands
    } cases[] = {
        {2, "", [] {}, 0, 0},
        {3, "", [] {
             settings.fancyHands = settings.neonHands = settings.labelOn = 1;
             boundedCopy(settings.Font, "6x10", 256);
         }, 0, 0},
        {5, "40x40", [] { settings.drawTicks = 2; settings.pushedIn = 0; }, 0, 0},
        {6, "50x36", [] { settings.thinSeconds = settings.neonHands = 1; }, 0, 0},
        {7, "30x30+10+20", [] { settings.drawDayDate = 0; }, 10, 20},
        {8, "28x24", [] { settings.outlinedHands = 1; settings.handThickness = 5; }, 0, 0},
    };
    for (const auto &c : cases) {
        SetUp();
        settings.scale = c.scale;
        boundedCopy(settings.geometry, c.geometry, 64);
        c.style();
        start();
        Display *d = clockDisplay.display;
        const unsigned int w = settings.windowWidth, h = settings.windowHeight, n = c.scale;
        XSizeHints hints;
        long supplied;
        ASSERT_TRUE(XGetWMNormalHints(d, clockDisplay.iconWindow, &hints, &supplied));
        EXPECT_EQ(hints.min_width, static_cast<int>(w * n)) << c.scale;
        EXPECT_EQ(hints.max_height, static_cast<int>(h * n)) << c.scale;
        XWindowAttributes a;
        XGetWindowAttributes(d, clockDisplay.mainWindow, &a);
        EXPECT_EQ(a.width, static_cast<int>(w * n)) << c.scale;
        EXPECT_EQ(a.x, c.x) << c.scale;
        EXPECT_EQ(a.y, c.y) << c.scale;
        for (int second : {9, 30}) {
            composeAt(14, 5, second);
            presentFrame();
            Image frame = read(clockDisplay.framePixmap);
            Image main = read(clockDisplay.mainWindow, w * n, h * n);
            EXPECT_EQ(blockMismatches(frame, main, c.scale), 0)
                << "main window, scale " << c.scale;
            // The windows share a place: show the dock tile alone to read it.
            XUnmapWindow(d, clockDisplay.mainWindow);
            XMapWindow(d, clockDisplay.iconWindow);
            presentFrame();
            Image icon = read(clockDisplay.iconWindow, w * n, h * n);
            EXPECT_EQ(blockMismatches(frame, icon, c.scale), 0)
                << "icon window, scale " << c.scale;
            XUnmapWindow(d, clockDisplay.iconWindow);
            XMapWindow(d, clockDisplay.mainWindow);
        }
    }
}

// Across a window as wide as a screen can be, a magnification by 3, 5, 6
// or 7 must not drift by the rounding of 1/n: the far right edge, the AM/PM
// indicator and the border still land on their blocks.
TEST_F(DisplayTest, WideScaledWindowsStayExactToTheLastColumn)
{
    PrivateXServer wide;
    ASSERT_TRUE(wide.start("16384x48x24"));
    server = wide.display;
    for (int n : {3, 5, 6, 7}) {
        SetUp();
        settings.scale = n;
        unsigned int w = 16380 / n;
        boundedCopy(settings.geometry, (std::to_string(w) + "x6").c_str(), 64);
        start();
        composeAt(14, 5, 9);
        presentFrame();
        Image frame = read(clockDisplay.framePixmap);
        Image window = read(clockDisplay.mainWindow, w * n, 6 * n);
        EXPECT_EQ(blockMismatches(frame, window, n), 0) << "scale " << n;
        TearDown();  // before the private server goes
    }
}

TEST_F(DisplayTest, AScaleTooLargeForTheWindowIsReducedWithOneLine)
{
    struct {
        const char *geometry;
        int scale, settled;
        const char *errors;
    } cases[] = {
        {"", 8, 8, ""},
        {"5000x40", 8, 6,
         "tavock: a 5000x40 clock at scale 8 would be larger than 32767 pixels, drawing at "
         "scale 6\n"},
        {"40x4096", 8, 7,
         "tavock: a 40x4096 clock at scale 8 would be larger than 32767 pixels, drawing at "
         "scale 7\n"},
        {"32767x20", 2, 1,
         "tavock: a 32767x20 clock at scale 2 would be larger than 32767 pixels, drawing at "
         "scale 1\n"},
    };
    for (const auto &c : cases) {
        SetUp();
        settings.scale = c.scale;
        boundedCopy(settings.geometry, c.geometry, 64);
        testing::internal::CaptureStderr();
        start();
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.errors) << c.geometry;
        EXPECT_EQ(settings.scale, c.settled) << c.geometry;
        XWindowAttributes a;
        XGetWindowAttributes(clockDisplay.display, clockDisplay.mainWindow, &a);
        EXPECT_EQ(a.width, static_cast<int>(settings.windowWidth) * c.settled) << c.geometry;
    }
}

double distanceToSegment(double px, double py, double ax, double ay, double bx, double by)
{
    double dx = bx - ax, dy = by - ay, length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / length2 : 0;
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

// 0 inside the triangle (or on it), else the distance to its nearest side.
double distanceToTriangle(double px, double py, const XPoint *c)
{
    double d[3], sign[3];
    for (int i = 0; i < 3; i++) {
        const XPoint &a = c[i], &b = c[(i + 1) % 3];
        d[i] = distanceToSegment(px, py, a.x, a.y, b.x, b.y);
        sign[i] = (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
    }
    bool inside = (sign[0] >= 0 && sign[1] >= 0 && sign[2] >= 0) ||
                  (sign[0] <= 0 && sign[1] <= 0 && sign[2] <= 0);
    return inside ? 0 : std::min(d[0], std::min(d[1], d[2]));
}

// A mitred corner of angle a reaches (half width) / sin(a / 2) past the
// corner; below 11 degrees the corner is bevelled and reaches no further.
bool nearMitre(const XPoint *c, double x, double y, double reach)
{
    for (int i = 0; i < 3; i++) {
        const XPoint &p = c[i], &a = c[(i + 1) % 3], &b = c[(i + 2) % 3];
        double angle =
            std::fabs(std::atan2(a.y - p.y, a.x - p.x) - std::atan2(b.y - p.y, b.x - p.x));
        angle = std::min(angle, 2 * M_PI - angle);
        if (angle >= 11 * M_PI / 180 && std::hypot(x - p.x, y - p.y) <= reach / std::sin(angle / 2))
            return true;
    }
    return false;
}

// Whether the point (in the geometry's own pixels, centres at +0.5) lies
// within reach of a drawn hand: its half width plus margin.
bool nearHands(const HandGeometry &g, double px, double py, int n, double margin)
{
    int rx = clockLayout.radiusX, ry = clockLayout.radiusY;
    for (int i = 0; i < 3; i++) {
        if (i == SECOND_HAND && !settings.drawSecondHand)
            continue;
        const HandLayers &l = settings.handLayers[i];
        int stroke = strokeWidth(i, settings.thinSeconds, settings.handThickness, rx, ry);
        int outline = outlineWidth(i, settings.outThickness, rx, ry);
        double strokeReach = n * std::max(stroke, 1) / 2.0 + margin;
        double outlineReach = n * std::max(outline, 1) / 2.0 + margin;
        double x = px - 0.5 * n, y = py - 0.5 * n;  // back to integer points
        const int *line = g.line[i];
        if (l.stroke && distanceToSegment(x, y, line[0], line[1], line[2], line[3]) <= strokeReach)
            return true;
        if ((l.fill || l.outline) && distanceToTriangle(x, y, g.polygon[i]) <= outlineReach)
            return true;
        if (l.outline && nearMitre(g.polygon[i], x, y, outlineReach))
            return true;
    }
    return false;
}

TEST_F(DisplayTest, SmoothHandsChangeOnlyThePixelsNearTheHands)
{
    const unsigned long LABEL = 0x00ff00;
    struct {
        int scale;
        std::function<void()> style;
        int hour, minute, second;
    } cases[] = {
        {1, [] {}, 10, 10, 30},
        {2, [] {}, 10, 10, 30},
        {2, [] { settings.fancyHands = settings.neonHands = 1; }, 3, 40, 50},
        {3, [] {
             settings.outlinedHands = 1;
             settings.handThickness = 5;
             settings.outThickness = 50;
         }, 10, 10, 30},
        {2, [] { settings.floatSeconds = settings.thinSeconds = 1; settings.handThickness = 10; },
         7, 25, 45},
        // A minute hand wide enough to run under the label, which stays on top.
        {2, [] {
             settings.handThickness = 200;
             settings.labelOn = 1;
             boundedCopy(settings.Label, "hi", 256);
             boundedCopy(settings.Font, "6x10", 256);
             boundedCopy(settings.LabelColor, "#00ff00", 64);
         }, 0, 15, 0},
    };
    for (const auto &c : cases) {
        const int n = c.scale;
        SetUp();
        c.style();
        start();
        composeAt(c.hour, c.minute, c.second);
        const unsigned int w = settings.windowWidth, h = settings.windowHeight;
        Image plain = read(clockDisplay.framePixmap);  // outlives the display that drew it
        std::set<unsigned long> plainColours(plain.pixels.begin(), plain.pixels.end());
        HandGeometry plainHands = handGeometry;

        SetUp();
        c.style();
        settings.scale = n;
        settings.smooth = 1;
        start();
        composeAt(c.hour, c.minute, c.second);
        Image smooth = read(clockDisplay.scaling.smoothPixmap, w * n, h * n);

        int differing = 0, blended = 0, labelLost = 0;
        for (unsigned int y = 0; y < h * n; y++)
            for (unsigned int x = 0; x < w * n; x++) {
                unsigned long want = plain.at(x / n, y / n), got = smooth.at(x, y);
                bool near = nearHands(handGeometry, x + 0.5, y + 0.5, n, 2.0) ||
                            nearHands(plainHands, (x / n) + 0.5, (y / n) + 0.5, 1, 1.0);
                if (!near) {
                    EXPECT_EQ(got, want) << "far from the hands at " << x << "," << y
                                         << ", scale " << n;
                }
                differing += got != want;
                labelLost += want == LABEL && got != LABEL;
                blended += plainColours.count(got) == 0;
            }
        EXPECT_GT(differing, 0) << "scale " << n;
        EXPECT_GT(blended, 0) << "no anti-aliased edge at scale " << n;
        EXPECT_EQ(labelLost, 0);
    }
}

// ---- Requests per frame ----
// A frame sends the face copy, the indicator copies, a GC change and a
// drawing call per hand layer, the label's colour change and string, and the
// two window copies: nothing more (no round trip, no stray GC change).

struct FrameRequests {
    const char *name;
    std::function<void()> configure;
    unsigned long requests;
};

// A failure names the style instead of dumping the record's bytes.
void PrintTo(const FrameRequests &style, std::ostream *out)
{
    *out << style.name;
}

class FrameRequestTable : public DisplayTest, public ::testing::WithParamInterface<FrameRequests> {};

TEST_P(FrameRequestTable, SendsExactlyTheFramesRequests)
{
    GetParam().configure();
    start();
    Display *display = clockDisplay.display;
    unsigned long first = NextRequest(display);
    for (int i = 1; i <= 3; i++) {
        currentTime = lastRedrawTime = fakeNow + i;
        redraw();
        presentFrame();
    }
    EXPECT_EQ((NextRequest(display) - first) / 3, GetParam().requests);
    EXPECT_EQ((NextRequest(display) - first) % 3, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, FrameRequestTable,
    ::testing::Values(
        FrameRequests{"Default", [] {}, 16},
        FrameRequests{"NoDate", [] { settings.drawDayDate = 0; }, 10},
        FrameRequests{"NoAMPM", [] { settings.drawAMPM = 0; }, 15},
        FrameRequests{"NarrowNoYear", [] { boundedCopy(settings.geometry, "51x54", 64); }, 14},
        FrameRequests{"NoSecondHand", [] { settings.drawSecondHand = 0; }, 14},
        FrameRequests{"NoForeground",
                      [] { settings.drawDayDate = settings.drawAMPM = 0; settings.drawTicks = 0; },
                      9},
        FrameRequests{"Fancy", [] { settings.fancyHands = 1; }, 22},
        FrameRequests{"FancyThinSeconds",
                      [] { settings.fancyHands = 1; settings.thinSeconds = 1; }, 20},
        FrameRequests{"Outlined", [] { settings.outlinedHands = 1; }, 16},
        FrameRequests{"FancyNeonLabelBig",
                      [] {
                          settings.fancyHands = settings.neonHands = 1;
                          settings.drawTicks = 2;
                          settings.labelOn = 1;
                          boundedCopy(settings.Font, "fixed", 256);
                          boundedCopy(settings.geometry, "128x128", 64);
                      },
                      24},
        // Magnified on the server: one composite per window instead of a copy.
        FrameRequests{"Scaled", [] { settings.scale = 3; }, 16},
        // Smooth: one request per hand layer, no GC changes.
        FrameRequests{"Smooth", [] { settings.smooth = 1; }, 13},
        // The frame magnified once, then hands, label and two copies.
        FrameRequests{"SmoothScaledFancyLabel",
                      [] {
                          settings.scale = 2;
                          settings.smooth = settings.fancyHands = settings.labelOn = 1;
                          settings.handThickness = 5;
                          boundedCopy(settings.Font, "fixed", 256);
                      },
                      18}),
    RowName());

}  // namespace
