#include "platform/gtk/spelling_gtk.h"

#include <utility>
#include <vector>

#include "platform/po_resources.h"

namespace gtkui {

SpellingOnDemand::SpellingOnDemand(WebKitWebContext* context, std::string dictionary)
    : m_context(AddRef(context)), m_dictionary(std::move(dictionary))
{
    // Checking is on from the start; without a language it checks nothing
    // and loads nothing.
    webkit_web_context_set_spell_checking_enabled(m_context.Get(), TRUE);
}

std::string SpellingOnDemand::DictionaryForUserLanguage()
{
    std::vector<std::string> languages;
    for (const char* const* name = g_get_language_names(); *name; ++name)
        languages.emplace_back(*name);
    return platform::ResourceTableFor(languages) == "pt-BR" ? "pt_BR" : "en_US";
}

void SpellingOnDemand::Watch(GtkWidget* view)
{
    if (m_loaded)
        return;
    // The view's controller holds this object: a view can outlive the
    // factory that made it.
    GtkEventController* keys = gtk_event_controller_key_new();
    gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
    g_signal_connect_data(keys, "key-pressed", G_CALLBACK(&SpellingOnDemand::KeyPressed),
                          new std::shared_ptr<SpellingOnDemand>(shared_from_this()),
                          [](gpointer holder, GClosure*) { delete static_cast<std::shared_ptr<SpellingOnDemand>*>(holder); },
                          GConnectFlags(0));
    gtk_widget_add_controller(view, keys);
}

gboolean SpellingOnDemand::KeyPressed(GtkEventControllerKey*, guint, guint, GdkModifierType, gpointer holder)
{
    (*static_cast<std::shared_ptr<SpellingOnDemand>*>(holder))->Load();
    // The key goes on to the page.
    return FALSE;
}

void SpellingOnDemand::Load()
{
    if (std::exchange(m_loaded, true))
        return;
    const char* languages[] = {m_dictionary.c_str(), nullptr};
    webkit_web_context_set_spell_checking_languages(m_context.Get(), languages);
}

} // namespace gtkui
