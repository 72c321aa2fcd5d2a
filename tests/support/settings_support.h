// Settings helpers for in-process tests: fresh settings, resource-file text
// parsed in place, and alarm lists made by hand.
#pragma once

#include "process.h"
#include "settings/settings.h"

#include <deque>
#include <string>
#include <vector>

// The settings as at program start plus the defaults. The program never
// frees its alarms; tests start over many times, so this hands them back.
void freshSettings();

// Fresh settings, then the command line "tavock" args... parsed in place.
void settingsFromCommandLine(std::vector<std::string> args);

// Runs parsercfile over text (as a file) in this process and returns what
// it wrote to standard error.
std::string parseRcCapturingErrors(const std::string &text);

// An alarm list made by the test, in the settings while it lives. Each
// entry's command appends its word to one log in a directory of its own.
struct AlarmList {
    TempDir dir;
    std::string log = dir.path + "/log";
    std::deque<AlarmEntry> entries;  // a deque never moves what it holds
    std::vector<AlarmEntry *> list;

    // An entry for hh:mm:ss whose command is before + "echo word >> log".
    void add(int hour, int minute, int second, const std::string &word,
             const std::string &before = "");
    std::string ran() const { return readFile(log); }
    ~AlarmList();
};
