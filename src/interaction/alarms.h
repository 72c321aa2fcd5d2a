// Alarms: run each `at` command once when the displayed time reaches it.
#pragma once

void checkAlarms();
