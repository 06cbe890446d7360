#include "platform/gtk/startup_report_gtk.h"

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>

namespace gtkui {

namespace {

gint64 mainEnteredUs = 0;

// Milliseconds since the kernel started this process (field 22 of
// /proc/self/stat, in clock ticks since boot), or nullopt.
std::optional<double> MsSinceProcessStart()
{
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The command name (field 2) is in parentheses and may hold spaces.
    auto close = text.rfind(')');
    if (close == std::string::npos)
        return std::nullopt;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    unsigned long long startTicks = 0;
    // Fields 3..21 come first.
    for (int n = 3; n <= 22 && fields >> field; ++n)
        if (n == 22)
            startTicks = std::stoull(field);
    long ticksPerSecond = sysconf(_SC_CLK_TCK);
    timespec now{};
    if (startTicks == 0 || ticksPerSecond <= 0 || clock_gettime(CLOCK_BOOTTIME, &now) != 0)
        return std::nullopt;
    double nowMs = now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
    double startMs = startTicks * 1000.0 / ticksPerSecond;
    if (nowMs < startMs)
        return std::nullopt;
    return nowMs - startMs;
}

void AfterFirstPaint(GdkFrameClock* clock, gpointer)
{
    g_signal_handlers_disconnect_by_func(clock, reinterpret_cast<gpointer>(&AfterFirstPaint), nullptr);
    double ms = 0;
    try {
        ms = MsSinceProcessStart().value_or((g_get_monotonic_time() - mainEnteredUs) / 1000.0);
    } catch (const std::exception&) {
        ms = (g_get_monotonic_time() - mainEnteredUs) / 1000.0;
    }
    std::fprintf(stderr, "startup-ms: %.0f\n", ms);
    std::fflush(stderr);
}

void OnRealize(GtkWidget* window, gpointer)
{
    g_signal_handlers_disconnect_by_func(window, reinterpret_cast<gpointer>(&OnRealize), nullptr);
    if (GdkFrameClock* clock = gtk_widget_get_frame_clock(window))
        g_signal_connect(clock, "after-paint", G_CALLBACK(&AfterFirstPaint), nullptr);
}

} // namespace

void MarkMainEntered()
{
    mainEnteredUs = g_get_monotonic_time();
}

void ReportStartupOnFirstFrame(GtkWindow* window)
{
    if (!g_getenv("TOLVANE_REPORT_STARTUP"))
        return;
    if (gtk_widget_get_realized(GTK_WIDGET(window)))
        OnRealize(GTK_WIDGET(window), nullptr);
    else
        g_signal_connect(window, "realize", G_CALLBACK(&OnRealize), nullptr);
}

} // namespace gtkui
