// Fuzz target: whole resource files through parsercfile.
#include "config/rcfile.h"
#include "fuzz_common.h"

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    setDefaults();
    FILE *file = size ? fmemopen(const_cast<uint8_t *>(data), size, "r") : tmpfile();
    if (!file)
        return 0;
    parsercfile(file);
    std::fclose(file);
    requireSaneSettings();
    releaseAlarms();
    return 0;
}
