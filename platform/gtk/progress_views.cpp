// Progress bars and rings.
#include <algorithm>

#include "platform/gtk/view_kinds.h"

namespace gtkui {
namespace {

class ProgressBarView final : public ElementView {
public:
    ProgressBarView(ui::ProgressBar& bar, ViewContext& context)
        : ElementView(bar, gtk_progress_bar_new(), context), m_bar(bar)
    {
    }
    ~ProgressBarView() override { StopPulsing(); }

protected:
    void ApplyOwn(ui::Property property) override
    {
        switch (property) {
        case ui::Property::Value:
        case ui::Property::Range:
            WriteFraction();
            break;
        case ui::Property::IsIndeterminate:
            if (m_bar.IsIndeterminate())
                StartPulsing();
            else
                StopPulsing();
            WriteFraction();
            break;
        case ui::Property::Height:
            ApplyStyle(); // the trough's height follows the element's
            break;
        default:
            break;
        }
    }

    // Background is the track and Foreground the filled part; both are inner
    // nodes of the GTK progress bar.
    std::string StyleRules() const override
    {
        std::string rules = ElementRule(m_bar, BackgroundRule::Omit);
        std::string trough = ".tv-el > trough { min-height: " + std::to_string(TroughHeight()) + "px;";
        if (m_bar.Background())
            trough += " background-color: " + CssColor(*m_bar.Background()) + ";";
        rules += trough + " }\n";
        std::string fill = ".tv-el > trough > progress { min-height: " + std::to_string(TroughHeight()) + "px;";
        if (m_bar.Foreground())
            fill += " background-color: " + CssColor(*m_bar.Foreground()) + "; border-color: " +
                    CssColor(*m_bar.Foreground()) + ";";
        return rules + fill + " }\n";
    }

private:
    static constexpr int DefaultHeight = 4;

    int TroughHeight() const
    {
        double height = m_bar.Height();
        return ui::IsAuto(height) ? DefaultHeight : std::max(0, static_cast<int>(height));
    }

    void WriteFraction()
    {
        if (m_bar.IsIndeterminate())
            return;
        double span = m_bar.Maximum() - m_bar.Minimum();
        double fraction = span > 0 ? (m_bar.Value() - m_bar.Minimum()) / span : 0;
        gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(Widget()), std::clamp(fraction, 0.0, 1.0));
    }

    void StartPulsing()
    {
        if (m_pulse)
            return;
        m_pulse = gtk_widget_add_tick_callback(Widget(), +[](GtkWidget* widget, GdkFrameClock* clock, gpointer) -> gboolean {
            // About ten steps a second, whatever the frame rate.
            auto* last = static_cast<gint64*>(g_object_get_data(G_OBJECT(widget), "tolvane-last-pulse"));
            gint64 now = gdk_frame_clock_get_frame_time(clock);
            if (!last) {
                last = g_new0(gint64, 1);
                g_object_set_data_full(G_OBJECT(widget), "tolvane-last-pulse", last, g_free);
            }
            if (now - *last >= 100000) {
                *last = now;
                gtk_progress_bar_pulse(GTK_PROGRESS_BAR(widget));
            }
            return G_SOURCE_CONTINUE;
        }, nullptr, nullptr);
    }

    void StopPulsing()
    {
        if (!m_pulse)
            return;
        gtk_widget_remove_tick_callback(Widget(), m_pulse);
        m_pulse = 0;
    }

    ui::ProgressBar& m_bar;
    guint m_pulse = 0;
};

class ProgressRingView final : public ElementView {
public:
    ProgressRingView(ui::ProgressRing& ring, ViewContext& context)
        : ElementView(ring, gtk_spinner_new(), context), m_ring(ring)
    {
        AddTapGesture();
    }

protected:
    void ApplyOwn(ui::Property property) override
    {
        if (property == ui::Property::IsActive)
            gtk_spinner_set_spinning(GTK_SPINNER(Widget()), m_ring.IsActive());
    }

private:
    ui::ProgressRing& m_ring;
};

} // namespace

std::unique_ptr<ElementView> CreateProgressBarView(ui::ProgressBar& bar, ViewContext& context)
{
    auto view = std::make_unique<ProgressBarView>(bar, context);
    view->ApplyAll();
    return view;
}

std::unique_ptr<ElementView> CreateProgressRingView(ui::ProgressRing& ring, ViewContext& context)
{
    auto view = std::make_unique<ProgressRingView>(ring, context);
    view->ApplyAll();
    return view;
}

} // namespace gtkui
