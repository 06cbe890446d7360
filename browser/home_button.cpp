#include "browser/home_button.h"

#include "app/product_messages.h"
#include "bridge/chrome_animator.h"
#include "browser/home_page.h"
#include "browser/tab_set.h"
#include "platform/resources.h"
#include "storage/database.h"
#include "storage/schema.h"

HomeButton::HomeButton(TabSet& tabs, ChromeAnimator& chrome, ProductMessages& messages,
                       platform::Resources& strings)
    : m_tabs(tabs), m_chrome(chrome), m_messages(messages), m_strings(strings)
{
}

void HomeButton::HomeButton_Click(ui::Element&)
{
    m_chrome.ClosePanel(&OpenFlags::ContextMenu);
    OpenDatabase(ConfigDb, ConfigFile);
    // A stored text that is no address (damaged, emptied by hand) is told, not navigated.
    if (auto home = ReadHomePage()) {
        if (m_tabs.Slot(0).WebView && m_tabs.CurrentWebView())
            m_tabs.CurrentWebView()->Navigate(*home);
        else
            m_tabs.OpenTab(*home);
    } else {
        m_messages.Show(m_strings.GetString("wMessageBox_InvalidLink"));
    }
    CloseDatabase(ConfigDb);
}
