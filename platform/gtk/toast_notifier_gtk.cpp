#include "platform/gtk/toast_notifier_gtk.h"

#include <pugixml.hpp>

#include <cstdio>
#include <utility>

#include "platform/gtk/gobject_ptr.h"

namespace gtkui {

namespace {

constexpr const char* RaiseActionName = "raise-window";

struct ToastTexts {
    std::string Title;
    std::string Body;
    std::string Image;
};

ToastTexts ParseToast(const std::string& markup)
{
    ToastTexts texts;
    pugi::xml_document document;
    if (!document.load_string(markup.c_str())) {
        // Unparsable markup still tells the user something happened.
        texts.Title = markup;
        return texts;
    }
    auto binding = document.child("toast").child("visual").child("binding");
    auto text = binding.child("text");
    texts.Title = text.text().get();
    texts.Body = text.next_sibling("text").text().get();
    texts.Image = binding.child("image").attribute("src").value();
    return texts;
}

GIcon* BundledIcon(const std::string& source)
{
    if (source.empty())
        return nullptr;
    GBytes* bytes = g_resources_lookup_data(("/" + source).c_str(), G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
    if (!bytes)
        return nullptr;
    GIcon* icon = g_bytes_icon_new(bytes);
    g_bytes_unref(bytes);
    return icon;
}

} // namespace

DesktopToastNotifier::DesktopToastNotifier(GApplication* application, GtkWindow* window,
                                           std::function<GtkOverlay*()> overlay)
    : m_application(application), m_window(window), m_overlay(std::move(overlay))
{
    GDBusConnection* bus = application ? g_application_get_dbus_connection(application) : nullptr;
    if (!bus)
        return;
    auto appeared = [](GDBusConnection*, const char*, const char*, gpointer flag) { *static_cast<bool*>(flag) = true; };
    auto vanished = [](GDBusConnection*, const char*, gpointer flag) { *static_cast<bool*>(flag) = false; };
    m_freedesktopWatch = g_bus_watch_name_on_connection(bus, "org.freedesktop.Notifications",
                                                        G_BUS_NAME_WATCHER_FLAGS_AUTO_START, appeared, vanished,
                                                        &m_freedesktopOwned, nullptr);
    m_gtkWatch = g_bus_watch_name_on_connection(bus, "org.gtk.Notifications", G_BUS_NAME_WATCHER_FLAGS_AUTO_START,
                                                appeared, vanished, &m_gtkOwned, nullptr);
    m_raiseAction = g_simple_action_new(RaiseActionName, nullptr);
    g_signal_connect(m_raiseAction, "activate", G_CALLBACK(+[](GSimpleAction*, GVariant*, gpointer window) {
                         if (window)
                             gtk_window_present(GTK_WINDOW(window));
                     }),
                     m_window);
    g_action_map_add_action(G_ACTION_MAP(application), G_ACTION(m_raiseAction));
}

DesktopToastNotifier::~DesktopToastNotifier()
{
    HideNotice();
    if (m_freedesktopWatch)
        g_bus_unwatch_name(m_freedesktopWatch);
    if (m_gtkWatch)
        g_bus_unwatch_name(m_gtkWatch);
    if (m_raiseAction) {
        g_action_map_remove_action(G_ACTION_MAP(m_application), RaiseActionName);
        g_object_unref(m_raiseAction);
    }
}

void DesktopToastNotifier::Show(const std::string& markup)
{
    auto texts = ParseToast(markup);
    if (ServiceOwned()) {
        Notify(texts.Title, texts.Body);
        m_history.push_back({texts.Title, texts.Body, "notification"});
        return;
    }
    if (!m_warned) {
        std::fprintf(stderr, "tolvane-browser: no notification service on the session bus; "
                             "toasts show inside the window\n");
        m_warned = true;
    }
    ShowInWindow(texts.Title, texts.Body);
    m_history.push_back({texts.Title, texts.Body, "window"});
}

void DesktopToastNotifier::Notify(const std::string& title, const std::string& body)
{
    auto notification = Adopt(g_notification_new(title.c_str()));
    g_notification_set_body(notification.Get(), body.c_str());
    auto icon = Adopt(BundledIcon("Assets/NewStoreLogo.png"));
    if (icon)
        g_notification_set_icon(notification.Get(), icon.Get());
    g_notification_set_default_action(notification.Get(), (std::string("app.") + RaiseActionName).c_str());
    // Each toast its own id: a later one never replaces an earlier one.
    std::string id = "tolvane-toast-" + std::to_string(++m_sentCount);
    g_application_send_notification(m_application, id.c_str(), notification.Get());
}

void DesktopToastNotifier::ShowInWindow(const std::string& title, const std::string& body)
{
    GtkOverlay* overlay = m_overlay ? m_overlay() : nullptr;
    if (!overlay) {
        std::fprintf(stderr, "tolvane-browser: %s: %s\n", title.c_str(), body.c_str());
        return;
    }
    HideNotice();
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 4);
    gtk_widget_add_css_class(box, "osd");
    gtk_widget_add_css_class(box, "toolbar");
    gtk_widget_set_halign(box, GTK_ALIGN_END);
    gtk_widget_set_valign(box, GTK_ALIGN_END);
    gtk_widget_set_margin_end(box, 16);
    gtk_widget_set_margin_bottom(box, 16);
    gtk_widget_set_name(box, "tolvane-toast");
    GtkWidget* heading = gtk_label_new(title.c_str());
    gtk_widget_add_css_class(heading, "heading");
    gtk_label_set_xalign(GTK_LABEL(heading), 0);
    GtkWidget* message = gtk_label_new(body.c_str());
    gtk_label_set_xalign(GTK_LABEL(message), 0);
    gtk_label_set_wrap(GTK_LABEL(message), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(message), 48);
    gtk_box_append(GTK_BOX(box), heading);
    gtk_box_append(GTK_BOX(box), message);
    gtk_overlay_add_overlay(overlay, box);
    // Our own reference: the window may drop its content before the notice ends.
    m_notice = GTK_WIDGET(g_object_ref(box));
    m_noticeTimer.Reset(g_timeout_add_seconds(
        NoticeSeconds,
        [](gpointer self) -> gboolean {
            auto& notifier = *static_cast<DesktopToastNotifier*>(self);
            notifier.m_noticeTimer.Forget();
            notifier.HideNotice();
            return G_SOURCE_REMOVE;
        },
        this));
}

void DesktopToastNotifier::HideNotice()
{
    m_noticeTimer.Reset();
    if (!m_notice)
        return;
    GtkWidget* parent = gtk_widget_get_parent(m_notice);
    if (parent && GTK_IS_OVERLAY(parent))
        gtk_overlay_remove_overlay(GTK_OVERLAY(parent), m_notice);
    g_object_unref(std::exchange(m_notice, nullptr));
}

} // namespace gtkui
