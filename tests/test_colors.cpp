// Colour shades: the single-precision 8-bit arithmetic on its own, and the
// whole path through a real 24-bit X server (parse, allocate, shade, text).
#include <gtest/gtest.h>  // before Xlib, whose None and Bool macros clash

#include "display/colors.h"
#include "xserver.h"

#include <string>

namespace {

TEST(ShadeArithmetic, SinglePrecisionEdges)
{
    // 8 / 1.6 is 5.0000005 in single precision (4.9999999 in double).
    EXPECT_EQ(darkerComponent(8, 1.6f), 5u);
    // 5 * 1.8 is 9.0000002 in single precision (8.9999999 in double).
    EXPECT_EQ(lighterComponent(5, 1.8f), 9u);
    EXPECT_EQ(darkerComponent(0, 1.6f), 0u);
    EXPECT_EQ(darkerComponent(255, 1.6f), 159u);
    EXPECT_EQ(lighterComponent(128, 2.0f), 255u);  // 256 clamps
    EXPECT_EQ(lighterComponent(127, 2.0f), 254u);
    EXPECT_EQ(lighterComponent(255, 1000.0f), 255u);  // no wrap through 16 bits
    EXPECT_EQ(darkerComponent(200, 0.5f), 200u);       // factors below 1 act as 1
}

struct ShadeCase {
    unsigned int rgb;  // 0xrrggbb
    float factor;
    bool lighter;
    const char *expected;
};

const ShadeCase shadeCases[] = {
    {0x385971, 1.6f, false, "#233746"}, {0x385971, 2.0f, true, "#70b2e2"},
    {0x385971, 1.8f, false, "#1f313e"}, {0x385971, 1.8f, true, "#64a0cb"},
    {0xefc669, 1.6f, false, "#957b41"}, {0xefc669, 2.0f, true, "#ffffd2"},
    {0xefc669, 1.8f, false, "#846e3a"}, {0xefc669, 1.8f, true, "#ffffbd"},
    {0xff3030, 1.6f, false, "#9f1e1e"}, {0xff3030, 2.0f, true, "#ff6060"},
    {0xff3030, 1.8f, false, "#8d1a1a"}, {0xff3030, 1.8f, true, "#ff5656"},
    {0xffffff, 1.6f, false, "#9f9f9f"}, {0xffffff, 2.0f, true, "#ffffff"},
    {0xffffff, 1.8f, false, "#8d8d8d"}, {0xffffff, 1.8f, true, "#ffffff"},
    {0xa0a0a0, 1.8f, true, "#ffffff"},  {0xa0a0a0, 1.6f, false, "#646464"},
    {0x080808, 1.6f, false, "#050505"}, {0x050505, 1.8f, true, "#090909"},
    {0x000000, 1.0f, false, "#000000"}, {0x000000, 1.8f, false, "#000000"},
    {0x000000, 100.0f, false, "#000000"},
};

TEST(ShadeArithmetic, FormatsTheDesignTable)
{
    for (const ShadeCase &c : shadeCases) {
        char text[64];
        // 16-bit components as a 24-bit screen allocates them: value * 257.
        formatShade(text, static_cast<unsigned short>((c.rgb >> 16 & 0xff) * 257),
                    static_cast<unsigned short>((c.rgb >> 8 & 0xff) * 257),
                    static_cast<unsigned short>((c.rgb & 0xff) * 257), c.factor, c.lighter);
        EXPECT_STREQ(text, c.expected) << std::hex << c.rgb << " factor " << c.factor;
    }
}

class ColorsOnServer : public ::testing::Test {
protected:
    Display *display = nullptr;
    Window root = 0;
    void SetUp() override
    {
        const std::string &name = sharedXDisplay();
        ASSERT_FALSE(name.empty()) << "Xvfb did not start";
        display = XOpenDisplay(name.c_str());
        ASSERT_NE(display, nullptr);
        root = DefaultRootWindow(display);
    }
    void TearDown() override
    {
        if (display)
            XCloseDisplay(display);
    }
    std::string hexText(unsigned int rgb)
    {
        char text[8];
        std::snprintf(text, sizeof text, "#%06x", rgb);
        return text;
    }
};

TEST_F(ColorsOnServer, ShadeTextsThroughTheServer)
{
    for (const ShadeCase &c : shadeCases) {
        std::string source = hexText(c.rgb);
        const char *text = c.lighter ? lighterColor(source.c_str(), display, root, c.factor)
                                     : darkerColor(source.c_str(), display, root, c.factor);
        EXPECT_EQ(text, shadeText);
        EXPECT_STREQ(text, c.expected) << source << " factor " << c.factor;
    }
}

TEST_F(ColorsOnServer, ColourNamesAndPixels)
{
    // On a 24-bit true-colour screen a pixel is 0xrrggbb.
    EXPECT_EQ(colorPixel("#385971", display, root), 0x385971u);
    EXPECT_EQ(colorPixel("red", display, root), 0xff0000u);
    EXPECT_EQ(darkerPixel("#385971", display, root, 1.6f), 0x233746u);
    EXPECT_EQ(lighterPixel("#385971", display, root, 2.0f), 0x70b2e2u);
    EXPECT_STREQ(lighterColor("white", display, root, 2.0f), "#ffffff");
}

TEST_F(ColorsOnServer, SecondShadeOverwritesTheFirst)
{
    char *first = darkerColor("#ffffff", display, root, 1.6f);
    char *second = lighterColor("#385971", display, root, 2.0f);
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, "#70b2e2");
}

TEST_F(ColorsOnServer, UnparsableTextIsReportedAndGivesPixelZero)
{
    testing::internal::CaptureStdout();
    unsigned long pixel = colorPixel("nosuchcolour", display, root);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(pixel, 0u);
    EXPECT_EQ(out, "tavock: can't parse nosuchcolour\n");

    // A shade of an unparsable text starts from black; only the source
    // text is reported, the shade text itself allocates fine.
    testing::internal::CaptureStdout();
    pixel = lighterPixel("nosuchcolour", display, root, 2.0f);
    out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(pixel, 0u);
    EXPECT_STREQ(shadeText, "#000000");
    EXPECT_EQ(out, "tavock: can't parse nosuchcolour\n");

    testing::internal::CaptureStdout();
    colorPixel("", display, root);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "tavock: can't parse \n");
}

} // namespace
