// STUB: replaced by the alarm implementation.
#include "interaction/alarms.h"
void checkAlarms() {}
