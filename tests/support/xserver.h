// A private Xvfb for tests: started on a free display (Xvfb picks it with
// -displayfd), killed again when the test program ends.
#pragma once

#include "canvas/font/fontpath.h"

#include <string>
#include <sys/types.h>
#include <vector>

struct PrivateXServer {
    pid_t pid = -1;
    std::string display;  // ":N"

    // Starts Xvfb with one screen of the given geometry, and the extra
    // arguments given (such as "-extension RENDER"); false on failure.
    bool start(const char *screen = "320x240x24", const std::vector<std::string> &extra = {});
    void stop();
    ~PrivateXServer() { stop(); }
};

// The server's -fp value for the folders given (":unscaled" where a folder
// is not scaled).
std::string fontPathOption(const FontFolder *folders, int count);

// One server shared by all tests of a test program, started on first use
// and stopped at exit, its font path the one the label font reader uses
// (where the reader is built). Returns its display name, or "" when Xvfb
// failed.
const std::string &sharedXDisplay();

// One connection to the shared server for the test program, opened on
// first use; null when the server did not start.
struct _XDisplay *sharedXConnection();
