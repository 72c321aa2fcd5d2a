// checkAlarms against hand-made time records: when an entry fires, when it
// is armed again, the order of entries due together, impossible times, and
// checks repeated on one record (a long update interval).
#include <gtest/gtest.h>  // before Xlib, whose None and Bool macros clash

#include "clock/state.h"
#include "interaction/commands.h"
#include "settings/settings.h"
#include "clock_support.h"
#include "settings_support.h"

#include <cstring>
#include <string>

namespace {

// An alarm list built in the test, checked against hand-made records.
struct AlarmFixture : ::testing::Test {
    AlarmList alarms;
    struct tm record {};

    // One check on the time record hh:mm:ss.
    void checkAt(int hour, int minute, int second)
    {
        record.tm_hour = hour;
        record.tm_min = minute;
        record.tm_sec = second;
        shownTime = &record;
        checkAlarms();
    }

    void TearDown() override { shownTime = nullptr; }
};

TEST_F(AlarmFixture, FiresOnceAtItsSecondAndIsArmedAgainAtTheNext)
{
    alarms.add(7, 30, 0, "A");
    checkAt(7, 29, 59);
    EXPECT_EQ(alarms.ran(), "");
    checkAt(7, 30, 0);
    EXPECT_EQ(alarms.ran(), "A\n");
    EXPECT_EQ(alarms.entries[0].fired, 1);
    checkAt(7, 30, 0);  // the same record again: no second run
    EXPECT_EQ(alarms.ran(), "A\n");
    checkAt(7, 30, 1);
    EXPECT_EQ(alarms.entries[0].fired, 0);
    checkAt(12, 0, 0);
    checkAt(7, 30, 0);  // the next day
    EXPECT_EQ(alarms.ran(), "A\nA\n");
}

TEST_F(AlarmFixture, AFailingCommandStillCountsAsFired)
{
    alarms.add(7, 30, 0, "unused");
    std::strcpy(alarms.entries[0].command, "exit 3");
    checkAt(7, 30, 0);
    EXPECT_EQ(alarms.entries[0].fired, 1);
}

TEST_F(AlarmFixture, ComparesWithTheShiftedHour)
{
    // 06:00:00 UTC with a shift of 2 shows 08:00:00.
    alarms.add(8, 0, 0, "eight");
    alarms.add(6, 0, 0, "six");
    settings.shift = 2;
    ASSERT_TRUE(shownGeometryAt(6, 0, 0));
    settings.shift = 0;
    checkAlarms();
    EXPECT_EQ(alarms.ran(), "eight\n");
}

TEST_F(AlarmFixture, EntriesDueTogetherRunInFileOrderOneAfterTheOther)
{
    // The first command is slow: the second must still come after it.
    alarms.add(9, 15, 30, "first", "sleep 0.3; ");
    alarms.add(9, 15, 30, "second");
    alarms.add(9, 15, 31, "other");
    checkAt(9, 15, 30);
    EXPECT_EQ(alarms.ran(), "first\nsecond\n");
}

TEST_F(AlarmFixture, SecondFiftyNineIsArmedAgainOnlyByItsOwnMinute)
{
    alarms.add(7, 30, 59, "A");
    checkAt(7, 30, 59);
    checkAt(7, 31, 0);
    EXPECT_EQ(alarms.entries[0].fired, 1);
    checkAt(7, 30, 59);  // clock set back onto it: still fired, no run
    EXPECT_EQ(alarms.ran(), "A\n");
    checkAt(7, 30, 0);   // the next day
    EXPECT_EQ(alarms.entries[0].fired, 0);
    checkAt(7, 30, 59);
    EXPECT_EQ(alarms.ran(), "A\nA\n");
}

TEST_F(AlarmFixture, ImpossibleTimesNeverFire)
{
    alarms.add(24, 0, 0, "h24");
    alarms.add(0, 60, 0, "m60");
    alarms.add(99, 99, 0, "h99");
    for (int h = 0; h < 24; h++)
        for (int m = 0; m < 60; m++)
            checkAt(h, m, 0);
    EXPECT_EQ(alarms.ran(), "");
}

TEST_F(AlarmFixture, ASecondBetweenRedrawsIsNeverSeenAndARedrawSecondRunsOnce)
{
    // With an update interval of 5 the record changes every fifth second
    // and is checked on every tick in between.
    alarms.add(10, 0, 2, "between");
    alarms.add(10, 0, 5, "onRedraw");
    for (int second : {0, 5, 10})
        for (int repeat = 0; repeat < 4; repeat++)
            checkAt(10, 0, second);
    EXPECT_EQ(alarms.ran(), "onRedraw\n");
}

TEST_F(AlarmFixture, NoTimeRecordLeavesEveryEntryAlone)
{
    alarms.add(7, 30, 0, "A");
    alarms.entries[0].fired = 1;
    shownTime = nullptr;
    checkAlarms();
    EXPECT_EQ(alarms.entries[0].fired, 1);
    EXPECT_EQ(alarms.ran(), "");
}

}  // namespace
