// Fuzz target: argument vectors (NUL-separated in the input) through the
// command line's option matching and value conversions. Walks the arguments
// the way parseCommandLine does, but stops where it would print and exit.
#include "config/cmdline.h"
#include "fuzz_common.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<std::string> args;
    std::string current;
    for (size_t i = 0; i < size; i++) {
        if (data[i] == '\0') {
            args.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    args.push_back(current);

    setDefaults();
    for (size_t i = 0; i < args.size(); i++) {
        ArgumentDecision d = decideArgument(args[i].c_str());
        if (d.kind != ARGUMENT_OPTION)
            break;
        if (d.row < 0 || d.row >= commandLineOptionCount)
            __builtin_trap();
        if (commandLineOptions[d.row].takesValue) {
            if (i + 1 == args.size())
                break;
            applyOption(d.row, args[++i].c_str());
        } else {
            applyOption(d.row, nullptr);
        }
    }
    requireSaneSettings();
    return 0;
}
