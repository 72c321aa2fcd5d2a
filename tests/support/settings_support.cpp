// Settings helpers for in-process tests of the configuration layers.
#include "settings_support.h"

#include "config/rcfile.h"
#include "settings/settings.h"

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
