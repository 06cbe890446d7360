#pragma once
// The application's one window: a GtkApplicationWindow whose content is the
// page, drawn by the renderer. It owns the application view over itself.
#include <gtk/gtk.h>

#include <memory>

#include "app/app.h"
#include "platform/gtk/application_view_gtk.h"
#include "platform/gtk/gobject_ptr.h"

namespace gtkui {

class Renderer;

class MainWindow : public AppWindow {
public:
    static constexpr int DefaultWidth = 1280;
    static constexpr int DefaultHeight = 800;

    explicit MainWindow(GtkApplication* application);
    // Takes the page's widgets down, then destroys the window.
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Builds the renderer on the page's element tree and shows it.
    void SetContent(ui::Element& root) override;
    void Activate() override;

    // Drops the renderer before the element tree it draws goes away.
    void ClearContent();

    GtkWindow* Window() const { return m_window.Get(); }
    WindowApplicationView& View() { return *m_view; }
    Renderer* ContentRenderer() const { return m_renderer.get(); }
    // The layer over the page that notices go on; null before the page shows.
    GtkOverlay* ContentOverlay() const { return m_overlay; }

private:
    // Room for the page's own close button at the top right.
    static constexpr int CaptionButtonsInset = 46;
    GObjectPtr<GtkWindow> m_window;
    std::unique_ptr<WindowApplicationView> m_view;
    std::unique_ptr<Renderer> m_renderer;
    GtkOverlay* m_overlay = nullptr; // the window's child while the page shows
};

} // namespace gtkui
