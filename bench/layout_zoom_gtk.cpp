// What crossing 720 pixels and a zoom step cost the user-interface thread,
// from the event to the frame that shows it: the page's arrangement, the
// element layout, the GTK widgets following and the paint. Five tabs, a real
// window; 200 alternate crossings and 200 zoom steps, each timed to the
// frame clock's after-paint. Prints the median and the 95th percentile.
//
// Run it on a display: tests/integration/with-display build/layout_zoom_gtk
#include <gtk/gtk.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "platform/gtk/renderer.h"
#include "platform/gtk/web_views_gtk.h"
#include "tests/doubles/page_harness.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Frame {
    GtkWidget* Window;
    bool Painted = false;
};

void Drain()
{
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
}

// Lets the frame clock come to rest, so the next frame starts at once.
void Rest()
{
    auto until = Clock::now() + std::chrono::milliseconds(40);
    while (Clock::now() < until) {
        Drain();
        g_usleep(2000);
    }
}

// Runs change, then waits for the frame that paints it; milliseconds.
template <typename Change>
double TimeToPaint(Frame& frame, Change change)
{
    Rest();
    frame.Painted = false;
    auto start = Clock::now();
    change();
    gtk_widget_queue_draw(frame.Window);
    while (!frame.Painted)
        g_main_context_iteration(nullptr, TRUE);
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Report(const char* what, std::vector<double> ms, double target)
{
    std::sort(ms.begin(), ms.end());
    double median = ms[ms.size() / 2];
    double p95 = ms[static_cast<size_t>(ms.size() * 0.95)];
    std::printf("%-44s n=%zu median %.2f ms  p95 %.2f ms  max %.2f ms  (target %.0f ms)\n", what, ms.size(), median,
                p95, ms.back(), target);
}

} // namespace

int main()
{
    gtk_init();
    doubles::PageHarness h;
    h.Start();
    for (int k = 1; k < 5; ++k)
        h.Page().OpenTab(*platform::Uri::Parse("http://tab" + std::to_string(k) + ".example/"));
    gtkui::Renderer renderer(h.Page().Root());
    Frame frame{gtk_window_new()};
    gtk_window_set_default_size(GTK_WINDOW(frame.Window), 1000, 700);
    gtk_window_set_child(GTK_WINDOW(frame.Window), renderer.RootWidget());
    gtk_window_present(GTK_WINDOW(frame.Window));
    Rest();
    GdkFrameClock* clock = gtk_widget_get_frame_clock(frame.Window);
    g_signal_connect(clock, "after-paint", G_CALLBACK(+[](GdkFrameClock*, gpointer data) {
                         static_cast<Frame*>(data)->Painted = true;
                     }), &frame);

    // The window takes the new width and the page hears of it, as the
    // window adapter reports it once per frame.
    std::vector<double> crossings;
    for (int k = 0; k < 200; ++k) {
        int width = k % 2 ? 1000 : 700;
        crossings.push_back(TimeToPaint(frame, [&] {
            gtk_window_set_default_size(GTK_WINDOW(frame.Window), width, 700);
            h.View.Resize(width, 700);
        }));
    }
    Report("crossing 720 (arrangement to paint)", crossings, 16);

    // The page's share of a crossing: the arrangement's property changes, before layout and paint.
    std::vector<double> arrangement;
    for (int k = 0; k < 200; ++k) {
        auto start = Clock::now();
        h.View.Resize(k % 2 ? 1000 : 700, 700);
        arrangement.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    Report("crossing 720 (page's share, no paint)", arrangement, 16);
    Rest();

    std::vector<double> sameSide;
    for (int k = 0; k < 200; ++k) {
        auto start = Clock::now();
        h.View.Resize(k % 2 ? 1000 : 990, 700);
        sameSide.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    Report("a resize on the same side (page's share)", sameSide, 16);

    std::vector<double> zoom;
    for (int k = 0; k < 200; ++k)
        zoom.push_back(TimeToPaint(frame, [&] { h.View.Press(k % 2 ? platform::Shortcut::ZoomOut
                                                                   : platform::Shortcut::ZoomIn); }));
    Report("zoom step (label painted, script handed over)", zoom, 16);

    // Handing the zoom script to the real engine returns at once: it never
    // waits on the page.
    gtkui::WebKitWebViews engines;
    auto view = engines.Create(platform::BrowsingSession::Private);
    view->Navigate(*platform::Uri::Parse("about:blank"));
    Rest();
    std::vector<double> handOver;
    for (int k = 0; k < 200; ++k) {
        auto start = Clock::now();
        view->InvokeScriptAsync("eval", {"document.getElementsByTagName('body')[0].style.zoom = '1.1';"});
        handOver.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    Report("zoom script handed to WebKitGTK", handOver, 16);
    Drain();
    view.reset();
    gtk_window_destroy(GTK_WINDOW(frame.Window));
    Drain();
    return 0;
}
