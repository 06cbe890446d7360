#include "platform/gtk/calendar_gtk.h"

#include <glib.h>

#include <memory>

namespace gtkui {

namespace {

struct DateTimeUnref {
    void operator()(GDateTime* dateTime) const { g_date_time_unref(dateTime); }
};
using DateTimePtr = std::unique_ptr<GDateTime, DateTimeUnref>;

} // namespace

platform::CalendarNow LocalCalendar::Now() const
{
    DateTimePtr now(g_date_time_new_now_local());
    if (!now) {
        // Only when the clock is out of GDateTime's range; the defaults stand.
        g_warning("the local date and time could not be read");
        return {};
    }
    platform::CalendarNow result;
    result.Year = g_date_time_get_year(now.get());
    result.Day = g_date_time_get_day_of_month(now.get());
    result.Month = g_date_time_get_month(now.get());
    result.Hour = g_date_time_get_hour(now.get());
    result.Minute = g_date_time_get_minute(now.get());
    return result;
}

} // namespace gtkui
