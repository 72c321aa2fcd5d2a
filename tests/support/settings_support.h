// Settings helpers for in-process tests of the configuration layers.
#pragma once

#include <string>

// The settings as at program start plus the defaults. The program never
// frees its alarms; tests start over many times, so this hands them back.
void freshSettings();

// Runs parsercfile over text (as a file) in this process and returns what
// it wrote to standard error.
std::string parseRcCapturingErrors(const std::string &text);
