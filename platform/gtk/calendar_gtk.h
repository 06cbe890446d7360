#pragma once
// The user's calendar and clock: GLib's date and time in the local time zone.
#include "platform/calendar.h"

namespace gtkui {

class LocalCalendar : public platform::Calendar {
public:
    platform::CalendarNow Now() const override;
};

} // namespace gtkui
