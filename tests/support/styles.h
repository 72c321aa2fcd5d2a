// The clock styles the pixel tests draw, in one table: the client-side
// frame against the X frame in the test's own process, and the real tile
// on sway against the real X clock. A row says where it runs.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

enum { IN_PROCESS = 1, ON_SWAY = 2 };

struct FrameStyle {
    const char *name;
    std::vector<std::string> options;  // for both clocks, -scale left out
    int scale;        // -scale of the tile (and of the in-process frame)
    int outputScale;  // of the sway output; the X clock's -scale is scale times this
    int where;        // IN_PROCESS, ON_SWAY or both
};

// The rows that run where given.
std::vector<FrameStyle> frameStyles(int where);

void PrintTo(const FrameStyle &style, std::ostream *out);

// Names a table-driven case after its row's name, in ctest's list.
struct RowName {
    template <typename Row> std::string operator()(const testing::TestParamInfo<Row> &info) const
    {
        return info.param.name;
    }
};
