// STUB: replaced by the command-line implementation.
#include "config/cmdline.h"
#include <cstdio>
#include <cstdlib>
void parseCommandLine(int, char **) {}
void printUsage() { std::exit(0); }
void printVersion() { std::puts("tavock : Wendmoor analog clock version 2.8"); }
