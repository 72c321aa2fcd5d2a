// Settings helpers for in-process tests.
#include "settings_support.h"

#include "config/cmdline.h"
#include "config/rcfile.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

void freshSettings()
{
    for (int i = 0; i < settings.alarmCount; i++)
        std::free(settings.alarms[i]);
    std::free(settings.alarms);
    settings = ClockSettings{};
    settings.pushedIn = 1;
    setDefaults();
}

void settingsFromCommandLine(std::vector<std::string> args)
{
    freshSettings();
    args.insert(args.begin(), "tavock");
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(&a[0]);
    argv.push_back(nullptr);
    parseCommandLine(static_cast<int>(args.size()), argv.data());
}

std::string parseRcCapturingErrors(const std::string &text)
{
    FILE *file = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), file);
    std::rewind(file);
    FILE *errors = std::tmpfile();
    std::fflush(stderr);
    int saved = dup(2);
    dup2(fileno(errors), 2);
    parsercfile(file);
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    std::fclose(file);
    std::string captured;
    std::rewind(errors);
    char buffer[512];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, errors)) > 0)
        captured.append(buffer, got);
    std::fclose(errors);
    return captured;
}

void AlarmList::add(int hour, int minute, int second, const std::string &word,
                    const std::string &before)
{
    entries.push_back({hour, minute, second, 0, ""});
    std::string command = before + "echo " + word + " >> " + log;
    boundedCopy(entries.back().command, command.c_str());
    list.push_back(&entries.back());
    settings.alarms = list.data();
    settings.alarmCount = static_cast<int>(list.size());
    settings.alarmsGiven = 1;
}

AlarmList::~AlarmList()
{
    settings.alarms = nullptr;
    settings.alarmCount = 0;
    settings.alarmsGiven = 0;
}
