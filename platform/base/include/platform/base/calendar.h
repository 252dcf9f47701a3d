#pragma once
// The local calendar date, for records that carry the day they were made.

namespace brumil::platform {

struct CalendarDate {
    int year;   // four digits
    int month;  // 1..12
    int day;    // 1..31
};

CalendarDate Today();

}  // namespace brumil::platform
