#pragma once
// The user's calendar and clock at the present moment.
namespace platform {

struct CalendarNow {
    int Day = 1;    // 1..31
    int Month = 1;  // 1..12
    int Hour = 0;   // as the user's clock shows it
    int Minute = 0;
    int Year = 2000;
};

class Calendar {
public:
    virtual ~Calendar() = default;
    virtual CalendarNow Now() const = 0;
};

} // namespace platform
