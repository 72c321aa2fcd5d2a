// The command line: option prefixes in matching order, usage text, banner.
#pragma once

void parseCommandLine(int argc, char **argv);
[[noreturn]] void printUsage();
void printVersion();
