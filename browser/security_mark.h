#pragma once
// The mark beside the home button in the address row: a padlock for a page
// reached over https with a certificate the engine accepted, a warning for
// plain http, nothing for the browser's own pages (the home and error pages,
// the certificate page, blank pages). It follows the current tab.
#include <string>

#include "platform/platform.h"
#include "platform/ui/markup.h"

struct PageControls;
class TabSet;

enum class SecurityMarkKind { None, Secure, NotSecure };

class SecurityMark {
public:
    SecurityMark(const PageControls& controls, const ui::LoadedMarkup& markup, platform::Resources& strings,
                 TabSet& tabs);

    void Subscribe(platform::WebView& view);
    void CurrentTabChanged() { ShowCurrent(); }

    // What a page shown at source, reached as the view says, is marked with.
    static SecurityMarkKind MarkFor(platform::PageSecurity security, const std::string& source);
    SecurityMarkKind Shown() const { return m_shown; }
    const ui::TextBlock& Element() const { return *m_mark; }

private:
    void Build(const ui::LoadedMarkup& markup);
    void WebView_Changed(platform::WebView& sender);
    void ShowCurrent();

    const PageControls& m_controls;
    platform::Resources& m_strings;
    TabSet& m_tabs;
    SecurityMarkKind m_shown = SecurityMarkKind::None;
    // Its colour is the home button's, which the theme paints.
    const ui::Element* m_homeButton = nullptr;
    ui::TextBlock* m_mark = nullptr;
};
