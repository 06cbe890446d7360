#pragma once
// Renders an element tree in a real window (under Xvfb) and lets a test
// wait for frames, read widget bounds, pick widgets and sample pixels.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <functional>
#include <memory>

#include "platform/gtk/renderer.h"
#include "platform/ui/element.h"

namespace gtktest {

class RenderFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Renders the root (kept until the test ends) in a window of the given
    // size and waits until it is laid out.
    void Show(std::unique_ptr<ui::Element> root, int width = 400, int height = 300);
    gtkui::Renderer& Renderer() { return *m_renderer; }
    GtkWindow* Window() { return m_window; }

    // Runs the main loop until `done` holds (false after the timeout).
    static bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000);
    // Lets the window lay out and paint at least one whole frame.
    void NextFrames(int frames = 2);

    GtkWidget* WidgetOf(const ui::Element& element);
    // A widget's rectangle relative to the root widget.
    graphene_rect_t Bounds(const ui::Element& element);
    // The element whose widget takes a click at this point of the root.
    const ui::Element* ElementAt(double x, double y);
    // The colour (0xAARRGGBB) drawn at a point of the root widget.
    uint32_t PixelAt(int x, int y);

private:
    std::unique_ptr<ui::Element> m_root;
    GtkWindow* m_window = nullptr;
    std::unique_ptr<gtkui::Renderer> m_renderer;
    int m_frames = 0;
};

// The first event controller of a type on a widget (nullptr if none).
GtkEventController* FindController(GtkWidget* widget, GType type);

// The rectangle the layout engine gave an element, relative to the root.
graphene_rect_t LayoutBounds(const ui::Element& element);

} // namespace gtktest
