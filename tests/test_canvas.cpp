// The client-side frame against the X server it stands in for (a private
// Xvfb, depth 24): colour texts, label fonts, and whole frames pixel by
// pixel for a table of styles, at two times.
#include <gtest/gtest.h>  // before Xlib, whose None and Bool macros clash

#include "clock/state.h"
#include "display/colors.h"
#include "display/setup.h"
#include "canvas/font/labelfont.h"
#include "canvas/canvas.h"
#include "canvas/colornames.h"
#include "render/geometry.h"
#include "render/layout.h"
#include "settings/settings.h"
#include "clock_support.h"
#include "image_support.h"
#include "process.h"
#include "settings_support.h"
#include "styles.h"
#include "xserver.h"

#include <X11/Xutil.h>
#include <unistd.h>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// Set-up runs many times and keeps what it builds: leaks are expected.
extern "C" const char *__asan_default_options()
{
    return "detect_leaks=0";
}

namespace {

// ---- Colour texts ----

const char *const colourTexts[] = {
    "Red", "ALICEBLUE", "Alice Blue", "DarkSlateGray4", "gray50", "#fff", "#385971",
    "#807f8000ff00", "#80ff7fff0001", "rgb:1/23/456", "RGB:8/80/800", "#12345", "#GGG",
    "rgb:1/2", "nosuch", " red", "alice  blue", ""};

TEST(ColourTexts, PixelsAndComponentsAsTheServerAllocates)
{
    Display *d = sharedXConnection();
    ASSERT_NE(d, nullptr);
    Colormap map = DefaultColormap(d, DefaultScreen(d));
    std::vector<std::string> texts(std::begin(colourTexts), std::end(colourTexts));
    // Every name of the system's colour database, too.
    if (FILE *file = std::fopen("/usr/share/X11/rgb.txt", "r")) {
        char line[256];
        int r, g, b, at;
        while (std::fgets(line, sizeof line, file))
            if (std::sscanf(line, " %d %d %d %n", &r, &g, &b, &at) == 3)
                texts.push_back(std::string(line + at, std::strcspn(line + at, "\r\n")));
        std::fclose(file);
    }
    EXPECT_GT(texts.size(), 700u);
    for (const std::string &text : texts) {
        XColor x = {};
        bool serverParses = XParseColor(d, map, text.c_str(), &x) && XAllocColor(d, map, &x);
        unsigned short rgb[3];
        // Debian adds this one to rgb.txt, but the server's compiled-in
        // table lacks it.
        if (text == "DebianRed") {
            EXPECT_TRUE(parseColorText(text.c_str(), rgb));
            continue;
        }
        ASSERT_EQ(parseColorText(text.c_str(), rgb), serverParses) << '"' << text << '"';
        if (!serverParses)
            continue;
        EXPECT_EQ(trueColorPixel(rgb), x.pixel) << text;
        EXPECT_EQ(rgb[0], x.red) << text;
        EXPECT_EQ(rgb[2], x.blue) << text;
    }
}

TEST(ColourTexts, ShadesAndMessagesAsOnX)
{
    Display *d = sharedXConnection();
    ASSERT_NE(d, nullptr);
    Window root = DefaultRootWindow(d);
    for (const char *text : {"#385971", "Gold", "#080808", "rgb:a/a/a"}) {
        EXPECT_EQ(localDarkerPixel(text, 1.6f), darkerPixel(text, d, root, 1.6f)) << text;
        EXPECT_EQ(localLighterPixel(text, 1.8f), lighterPixel(text, d, root, 1.8f)) << text;
    }
    testing::internal::CaptureStdout();
    EXPECT_EQ(localColorPixel("nosuch"), 0u);
    EXPECT_EQ(localDarkerPixel("nosuch", 1.6f), 0u);  // black's shade: pixel 0 as well
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "tavock: can't parse nosuch\ntavock: can't parse nosuch\n");
}

// ---- Label fonts ----

const char DEFAULT_FONT[] = "-*-helvetica-medium-r-*-*-9-240-*-*-*-*-*-*";
const char ENLARGED_FONT[] = "-misc-fixed-medium-r-normal--30-*-*-*-*-*-iso8859-1";
const char REDUCED_FONT[] = "-b&h-lucida-medium-r-normal-sans-7-*-*-*-*-*-iso8859-1";

// An alias, wildcards in an alias and in an XLFD pattern (first match in
// the server's order), the default name, sizes the server copies 1:1 from
// a bitmap within a pixel, one it enlarges and one it reduces, a quoted
// alias of a two-byte font whose name holds a blank, and a missing font.
const char *const fontNames[] = {"fixed",
                                 "6x1?",
                                 "-misc-fixed-*",
                                 "-*-helvetica-medium-r-*-*-10-*-*-*-*-*-*-*",
                                 DEFAULT_FONT,
                                 "-misc-fixed-medium-r-normal--11-*-*-*-*-*-*-*",
                                 "-*-helvetica-medium-r-normal--*-110-*-*-*-*-*-*",
                                 ENLARGED_FONT,
                                 REDUCED_FONT,
                                 "hanzigb16st",
                                 "nosuchfont"};

// Printable ASCII and Latin-1, a few codes the fonts lack among them.
std::string sampleText()
{
    std::string text = "tavock 12:30 ";
    for (int c = 0x7d; c < 0xe0; c += 3)
        text += static_cast<char>(c);
    return text;
}

// The font paths the label is compared on: the bitmap folders alone, with
// both resolutions, and the server's whole default path (outlines too).
struct FontSet {
    const char *name;
    std::vector<FontFolder> folders;  // empty: the default path as present
    const char *needs;                // a folder the set cannot do without
};

const FontSet fontSets[] = {
    {"Misc75dpi",
     {{"/usr/share/fonts/X11/misc", true}, {"/usr/share/fonts/X11/75dpi", true}},
     "/usr/share/fonts/X11/75dpi"},
    {"Misc75And100dpi",
     {{"/usr/share/fonts/X11/misc", true},
      {"/usr/share/fonts/X11/100dpi", false},
      {"/usr/share/fonts/X11/75dpi", false},
      {"/usr/share/fonts/X11/100dpi", true},
      {"/usr/share/fonts/X11/75dpi", true}},
     "/usr/share/fonts/X11/100dpi"},
    {"DefaultPath", {}, "/usr/share/fonts/X11/Type1"},
};

void PrintTo(const FontSet &set, std::ostream *out)
{
    *out << set.name;
}

class LabelFonts : public testing::TestWithParam<FontSet> {};

TEST_P(LabelFonts, FoundMeasuredAndDrawnAsTheServerDoes)
{
    std::vector<FontFolder> folders = GetParam().folders;
    if (folders.empty()) {
        folders.resize(16);
        folders.resize(static_cast<size_t>(presentFontFolders(folders.data(), 16)));
    }
    for (const char *need : {"/usr/share/fonts/X11/misc", GetParam().needs})
        if (access((std::string(need) + "/fonts.dir").c_str(), R_OK) != 0)
            GTEST_SKIP() << need << " is not installed";
    PrivateXServer server;
    const int count = static_cast<int>(folders.size());
    ASSERT_TRUE(server.start("320x240x24", {"-fp", fontPathOption(folders.data(), count)}));
    Display *d = XOpenDisplay(server.display.c_str());
    ASSERT_NE(d, nullptr);
    useFontFolders(folders.data(), count);
    const std::string text = sampleText();
    const int len = static_cast<int>(text.size()), w = 1200, h = 60, baseline = 40;
    for (const char *name : fontNames) {
        XFontStruct *x = XLoadQueryFont(d, name);
        LabelText label;
        ASSERT_EQ(tavockLabelText(name, text.c_str(), &label), x != nullptr) << name;
        if (!x)
            continue;
        // The two scaled rows do go through the bitmap scaler, both ways.
        FontSource source;
        ASSERT_TRUE(findCoreFont(name, folders.data(), count, &source));
        if (name == ENLARGED_FONT || name == REDUCED_FONT) {
            EXPECT_EQ(source.route, FONT_SCALED_BITMAP) << name;
            EXPECT_EQ(source.scaleY > 1, name == ENLARGED_FONT) << name;
        }
        EXPECT_EQ(label.ascent, x->max_bounds.ascent) << name;
        EXPECT_EQ(label.descent, x->max_bounds.descent) << name;
        EXPECT_EQ(label.width, XTextWidth(x, text.c_str(), len)) << name;

        Pixmap pixmap = XCreatePixmap(d, DefaultRootWindow(d), w, h, 24);
        GC gc = XCreateGC(d, pixmap, 0, nullptr);
        XSetForeground(d, gc, 0);
        XFillRectangle(d, pixmap, gc, 0, 0, w, h);
        XSetForeground(d, gc, 1);
        XSetFont(d, gc, x->fid);
        XDrawString(d, pixmap, gc, 3, baseline, text.c_str(), len);
        XImage *image = XGetImage(d, pixmap, 0, 0, w, h, AllPlanes, ZPixmap);
        // The mask where XDrawString drew, from (3, baseline).
        const int mx = 3 + label.left, my = baseline + label.top;
        int differing = 0, inked = 0;
        for (int py = 0; py < h; py++)
            for (int px = 0; px < w; px++) {
                bool in = px >= mx && px < mx + label.maskWidth && py >= my &&
                          py < my + label.maskHeight &&
                          label.mask[(py - my) * label.maskWidth + px - mx];
                differing += (XGetPixel(image, px, py) & 1) != in;
                inked += in;
            }
        EXPECT_EQ(differing, 0) << name;
        // Every font but the two-byte one draws 8-bit text.
        EXPECT_TRUE(inked > 0 || std::strcmp(name, "hanzigb16st") == 0) << name;
        XDestroyImage(image);
        XFreeGC(d, gc);
        XFreePixmap(d, pixmap);
        XFreeFont(d, x);
        std::free(label.mask);
    }
    useFontFolders(nullptr, 0);
    XCloseDisplay(d);
}

INSTANTIATE_TEST_SUITE_P(FontSets, LabelFonts, testing::ValuesIn(fontSets),
                         RowName());

// The server's rounding of sizes, its completion of a name's sizes, and
// the names it refuses.
TEST(LabelFonts, SizesCompletedAndRoundedAsTheServerDoes)
{
    struct Row {
        const char *name;
        double pixel, point;
        int resolution;
    };
    const Row rows[] = {
        {DEFAULT_FONT, 8.96875, 24.03125, 27},       // both sizes: the resolution from them
        {"-a-b-c-d-e--*-110-*-*-p-*-x-y", 15.234375, 11.015625, 100},  // point size alone
        {"-a-b-c-d-e--13-*-*-*-p-*-x-y", 13.015625, 9.40625, 100},     // pixel size to 9.4 pt
        {"-a-b-c-d-e--*-*-*-*-p-*-x-y", 16.625, 12.015625, 100},       // neither: 12 pt
        {"-a-b-c-d-e--8-80-75-75-p-*-x-y", 8.3125, 8.015625, 75},      // exact sizes grow too
        {"-a-b-c-d-e--9-240-75-75-p-*-x-y", 0, 0, 0},  // 9 px is no 24 pt at 75 dpi
        {"-a-b-c-d-e-[1 0 0 1]-*-*-*-p-*-x-y", 0, 0, 0},  // a matrix is not read
        {"fixed", 0, 0, 0},
    };
    for (const Row &row : rows) {
        XlfdValues values;
        FontSizes sizes;
        bool complete = parseXlfd(row.name, &values) && completeFontSizes(values, 100, &sizes);
        ASSERT_EQ(complete, row.resolution != 0) << row.name;
        if (!complete)
            continue;
        EXPECT_EQ(sizes.pixelY, row.pixel) << row.name;
        EXPECT_EQ(sizes.pointY, row.point) << row.name;
        EXPECT_EQ(sizes.resY, row.resolution) << row.name;
    }
}

TEST(LabelFonts, NameOrderAndWildcards)
{
    EXPECT_LT(compareFontNames("-iso8859-1", "-iso10646-1"), 0);  // 8859 < 10646
    EXPECT_LT(compareFontNames("6x13", "10x20"), 0);
    EXPECT_LT(compareFontNames("-c-60-", "-c-70-"), 0);
    EXPECT_EQ(compareFontNames("fixed", "fixed"), 0);
    EXPECT_TRUE(fontNameMatches("6x1?", "6x13"));
    EXPECT_FALSE(fontNameMatches("6x1?", "6x1"));
    EXPECT_TRUE(fontNameMatches("-*-fixed-*-13-*", "-misc-fixed-medium-r-normal--13-120"));
    EXPECT_FALSE(fontNameMatches("*x13", "6x13bold"));
}

// ---- Whole frames ----

// Fresh settings from the options given, and nothing of a clock before.
void settingsFrom(const std::vector<const char *> &options)
{
    settingsFromCommandLine({options.begin(), options.end()});
    std::memset(&clockDisplay, 0, sizeof clockDisplay);
    std::memset(&clockCanvas, 0, sizeof clockCanvas);
}

// The X clock set up in this process, showing its first frame at time t.
void startXClock(time_t t)
{
    setenv("TZ", "UTC", 1);
    tzset();
    fakeNow = t;
    clockSource = fakeClock;
    startClock(sharedXDisplay());
}

void stopXClock()
{
    if (clockDisplay.display)
        XCloseDisplay(clockDisplay.display);
    clockDisplay.display = nullptr;
    clockSource = time;
}

class CanvasFrame : public ::testing::TestWithParam<FrameStyle> {
protected:
    void TearDown() override { stopXClock(); }
};

// The style's options, -scale among them.
std::vector<const char *> styleArgs(const FrameStyle &style, std::string &scale)
{
    std::vector<const char *> args;
    for (const std::string &option : style.options)
        args.push_back(option.c_str());
    scale = std::to_string(style.scale);
    if (style.scale > 1)
        args.insert(args.end(), {"-scale", scale.c_str()});
    return args;
}

TEST_P(CanvasFrame, PixelsEqualTheXFrameButAtPlainHandEdges)
{
    ASSERT_FALSE(sharedXDisplay().empty()) << "Xvfb did not start";
    std::string scale;
    const std::vector<const char *> args = styleArgs(GetParam(), scale);
    for (const FixedTime &time : frameTimes) {
        settingsFrom(args);
        startXClock(time.reading);
        const int n = settings.scale;
        Image x = readImage(clockDisplay.display, clockDisplay.mainWindow,
                            clockDisplay.scaledWidth, clockDisplay.scaledHeight);
        const DialLayout onX = clockLayout;
        ASSERT_TRUE(setupCanvas(tavockLabelText));
        EXPECT_EQ(clockLayout.centerY, onX.centerY);
        EXPECT_EQ(clockLayout.radiusY, onX.radiusY);
        EXPECT_EQ(clockLayout.labelX, onX.labelX);
        HandGeometry hands;
        computeHandGeometry(*shownTime, handDial(n), hands);
        EXPECT_EQ(std::memcmp(&hands, &handGeometry, sizeof hands), 0);

        const int w = clockCanvas.width * n, h = clockCanvas.height * n;
        ASSERT_EQ(x.width, w);
        std::vector<uint32_t> canvas(static_cast<size_t>(w) * h, 0xdeadbeef);
        drawCanvasFrame(*shownTime, hands, FramePixels{canvas.data(), w * 4, w, h, 1});
        Image mine;
        mine.width = w;
        mine.height = h;
        for (uint32_t pixel : canvas)
            mine.pixels.push_back(pixel & 0xffffff);
        // Beside plain hands the band is the 1x dial's: the hands drawn.
        FrameDifference d = compareFrames(mine, 0, 0, x, hands, n);
        EXPECT_EQ(d.outside, 0) << d.differing << " differ, the first outside the band at "
                                << d.first;
        RecordProperty("differing_at_" + std::to_string(time.reading), d.differing);
        stopXClock();
    }
}

INSTANTIATE_TEST_SUITE_P(Styles, CanvasFrame, ::testing::ValuesIn(frameStyles(IN_PROCESS)),
                         RowName());

// A buffer whose rows are longer than the frame (a compositor's padded
// stride) gets the frame in each row and nothing past it.
TEST(CanvasStride, PaddedRowsGetTheFrameAndNothingPastIt)
{
    settingsFrom({"-scale", "2", "-fh", "-label", "tv"});
    ASSERT_TRUE(setupCanvas(tavockLabelText));
    setHandShape();
    const struct tm *shown = updateShownTime(frameTimes[0].reading, settings.shift);
    ASSERT_NE(shown, nullptr);
    HandGeometry hands;
    computeHandGeometry(*shown, handDial(2), hands);
    const int w = clockCanvas.width * 2, h = clockCanvas.height * 2, pad = 5;
    const uint32_t sentinel = 0xdeadbeef;
    std::vector<uint32_t> tight(static_cast<size_t>(w) * h, sentinel);
    std::vector<uint32_t> padded(static_cast<size_t>(w + pad) * h, sentinel);
    drawCanvasFrame(*shown, hands, FramePixels{tight.data(), w * 4, w, h, 1});
    drawCanvasFrame(*shown, hands, FramePixels{padded.data(), (w + pad) * 4, w, h, 1});
    int wrong = 0, overwritten = 0;
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++)
            wrong += padded[y * (w + pad) + x] != tight[y * w + x];
        for (int x = w; x < w + pad; x++)
            overwritten += padded[y * (w + pad) + x] != sentinel;
    }
    EXPECT_EQ(std::count(tight.begin(), tight.end(), sentinel), 0);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(overwritten, 0);
}

// ---- Failures ----

struct FailureCase {
    const char *name;
    std::vector<const char *> args;
    bool sheetFails;  // the X clock ends at set-up
};

const FailureCase failureCases[] = {
    {"BadBackground", {"-bg", "nosuch"}, true},
    {"BadDayColour", {"-day", "#12345"}, true},
    {"MissingFontAndBadColours",
     {"-label", "x", "-fn", "nosuchfont", "-sec", "bogus", "-lc", "Bogus"},
     false},
};

TEST(CanvasFailures, SayWhatTheXClockSays)
{
    ASSERT_FALSE(sharedXDisplay().empty()) << "Xvfb did not start";
    for (const FailureCase &c : failureCases) {
        std::string x;
        if (c.sheetFails) {
            // The X clock exits here: run it.
            TempDir home;
            std::vector<std::string> args = {TAVOCK_BINARY, "-display", sharedXDisplay()};
            args.insert(args.end(), c.args.begin(), c.args.end());
            ProcessResult r = runProcess(args, {"HOME=" + home.path});
            EXPECT_TRUE(r.exited && r.status == 0) << c.name;
            x = r.out;
        } else {
            settingsFrom(c.args);
            testing::internal::CaptureStdout();
            startXClock(frameTimes[0].reading);
            x = testing::internal::GetCapturedStdout();
            stopXClock();
        }
        settingsFrom(c.args);
        testing::internal::CaptureStdout();
        EXPECT_EQ(setupCanvas(tavockLabelText), !c.sheetFails) << c.name;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), x) << c.name;
        EXPECT_FALSE(settings.labelOn) << c.name;
        EXPECT_NE(x.find("tavock"), std::string::npos) << c.name;
    }
}

} // namespace
