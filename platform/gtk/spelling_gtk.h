#pragma once
// Misspellings underlined in the language the browser speaks. The
// dictionaries take megabytes and a noticeable moment to load, and most pages
// are only read: they load with the first key pressed in any page, before
// the page gets that key, so the first word typed is checked as well.
#include <webkit/webkit.h>

#include <memory>
#include <string>

#include "platform/gtk/gobject_ptr.h"

namespace gtkui {

class SpellingOnDemand : public std::enable_shared_from_this<SpellingOnDemand> {
public:
    // `dictionary` is a dictionary name such as "en_US".
    SpellingOnDemand(WebKitWebContext* context, std::string dictionary);

    // The dictionary for the browser's own language ("pt_BR" or "en_US").
    static std::string DictionaryForUserLanguage();

    // Loads the dictionary at the first key pressed in `view`, if no other
    // view has loaded it by then.
    void Watch(GtkWidget* view);

private:
    void Load();
    static gboolean KeyPressed(GtkEventControllerKey*, guint, guint, GdkModifierType, gpointer self);

    GObjectPtr<WebKitWebContext> m_context;
    std::string m_dictionary;
    bool m_loaded = false;
};

} // namespace gtkui
