// The command line: option prefixes in matching order, usage text, banner.
// The decision functions below never exit, so tests and fuzzers can call
// them; only parseCommandLine, printUsage and the unknown-argument paths do.
#pragma once

#include <cstdint>

void parseCommandLine(int argc, char **argv);
[[noreturn]] void printUsage();
void printVersion();

// One row of the option table: the argument matches when it begins with
// prefix; whatever follows the prefix is ignored.
struct CommandLineOption {
    const char *prefix;               // compared with the start of the argument
    bool takesValue;                  // the next argument is consumed blindly
    void (*apply)(const char *value); // value is nullptr for rows without one
};

extern const CommandLineOption commandLineOptions[];
extern const int commandLineOptionCount;

// Index of the first row whose prefix begins arg, or -1.
int matchOption(const char *arg);

// What one argument makes the parser do.
enum ArgumentKind {
    ARGUMENT_OPTION,         // a table row (row holds its index)
    ARGUMENT_VERSION,        // unknown option with 'V' second: banner, exit 0
    ARGUMENT_BANNER_USAGE,   // bare word or other unknown option: banner, usage
};
struct ArgumentDecision {
    ArgumentKind kind;
    int row;                 // valid for ARGUMENT_OPTION only
};
ArgumentDecision decideArgument(const char *arg);

// Applies row to settings with value (nullptr for rows without a value).
void applyOption(int row, const char *value);

// atoi's reading (leading blanks, sign, digits, 0 without digits), except
// that a number beyond int's range saturates instead of being undefined.
int readNumber(const char *text);
// The low 16 bits of a number, as the 16-bit settings fields keep it.
short narrowSigned16(int number);
unsigned short narrowUnsigned16(int number);
// -u: 2 or more is kept, anything else is 1.
int64_t updateIntervalFrom(int number);
// -scale and scale: kept within 1..8 (0, negatives and text give 1).
int scaleFrom(int number);
// -shift and shift: the 16-bit value when within -23..23, else 0.
short shiftFrom(int number);
