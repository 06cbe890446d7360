#include "platform/gtk/main_window_gtk.h"

#include "platform/gtk/caption_buttons_gtk.h"
#include "platform/gtk/renderer.h"

namespace gtkui {

MainWindow::MainWindow(GtkApplication* application)
    // The application holds the window too; this reference keeps it valid
    // here until the destructor destroys it.
    : m_window(RefSink(GTK_WINDOW(gtk_application_window_new(application))))
{
    gtk_window_set_title(m_window.Get(), "Tolvane Browser");
    gtk_window_set_default_size(m_window.Get(), DefaultWidth, DefaultHeight);
    m_view = std::make_unique<WindowApplicationView>(m_window.Get());
}

MainWindow::~MainWindow()
{
    ClearContent();
    m_view.reset();
    gtk_window_destroy(m_window.Get());
}

void MainWindow::SetContent(ui::Element& root)
{
    ClearContent();
    m_renderer = std::make_unique<Renderer>(root);
    // The page under the minimize and maximize buttons, which the window's
    // own title bar would hold had the page not taken its place.
    GtkWidget* overlay = gtk_overlay_new();
    gtk_overlay_set_child(GTK_OVERLAY(overlay), m_renderer->RootWidget());
    if (m_view->ExtendsIntoTitleBar() && m_view->TitleBarColors()) {
        GtkWidget* captions = CreateCaptionButtons(*m_view->TitleBarColors());
        gtk_widget_set_margin_end(captions, CaptionButtonsInset);
        // Nothing covers a page shown full screen.
        g_object_bind_property(m_window.Get(), "fullscreened", captions, "visible",
                               static_cast<GBindingFlags>(G_BINDING_SYNC_CREATE | G_BINDING_INVERT_BOOLEAN));
        gtk_overlay_add_overlay(GTK_OVERLAY(overlay), captions);
    }
    gtk_window_set_child(m_window.Get(), overlay);
    m_overlay = GTK_OVERLAY(overlay);
    Renderer* renderer = m_renderer.get();
    m_view->AttachContent([renderer](const ui::Element& element) { return renderer->WidgetFor(element); });
}

void MainWindow::ClearContent()
{
    if (!m_renderer)
        return;
    gtk_window_set_child(m_window.Get(), nullptr);
    m_overlay = nullptr;
    m_view->AttachContent({});
    m_renderer.reset();
}

void MainWindow::Activate()
{
    gtk_window_present(m_window.Get());
}

} // namespace gtkui
