// The style table of the pixel tests.
#include "styles.h"

static const FrameStyle styles[] = {
    {"Default", {}, 1, 1, IN_PROCESS | ON_SWAY},
    {"FancyNeonLabel", {"-fh", "-nh", "-label", "tavock"}, 1, 1, IN_PROCESS | ON_SWAY},
    {"Label110", {"-label", "12:30", "-fn", "-*-helvetica-medium-r-normal--*-110-*-*-*-*-*-*"},
     1, 1, ON_SWAY},
    {"OutlinedAllTicksStandout", {"-oh", "-at", "-standout"}, 1, 1, IN_PROCESS | ON_SWAY},
    {"Size64", {"-geometry", "64x64"}, 1, 1, IN_PROCESS | ON_SWAY},
    {"FloatingSeconds", {"-fs"}, 1, 1, IN_PROCESS | ON_SWAY},
    {"WideStrokesFixedLabel", {"-ht", "10", "-label", "12:30", "-fn", "fixed", "-lto"}, 1, 1,
     IN_PROCESS},
    {"WideOutlines", {"-oh", "-ot", "60", "-ts"}, 1, 1, IN_PROCESS},
    {"Scale2", {"-label", "tv"}, 2, 1, IN_PROCESS},
    {"Scale2Smooth", {"-smooth", "-fh", "-label", "tavock"}, 2, 1, IN_PROCESS},
    {"Scale3SmoothOutlined", {"-smooth", "-oh", "-ot", "60"}, 3, 1, IN_PROCESS},
    {"SmoothAt1x", {"-smooth", "-fs", "-nd", "-label", "tavock"}, 1, 1, IN_PROCESS},
    {"OutputScale2", {}, 1, 2, ON_SWAY},
    {"Scale2Smooth", {"-smooth"}, 2, 1, ON_SWAY},
    {"SmoothAtOutputScale2", {"-smooth", "-fh", "-label", "tavock"}, 1, 2, ON_SWAY},
    {"Scale2SmoothAtOutputScale2", {"-smooth", "-oh"}, 2, 2, ON_SWAY},
};

std::vector<FrameStyle> frameStyles(int where)
{
    std::vector<FrameStyle> rows;
    for (const FrameStyle &style : styles)
        if (style.where & where)
            rows.push_back(style);
    return rows;
}

void PrintTo(const FrameStyle &style, std::ostream *out)
{
    *out << style.name;
}
