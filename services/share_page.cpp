#include "services/share_page.h"

#include "app/product_messages.h"
#include "bridge/chrome_animator.h"
#include "browser/tab_set.h"
#include "services/uri_text.h"

namespace {
constexpr const char* ShareTitleSuffix = " | Tolvane Browser";
constexpr const char* StorePage = "https://apps.tolvane.org/store/apps/9nzqwtr100ax";
} // namespace

ShareData BuildShareData(const platform::Resources& strings, const platform::WebView* current)
{
    ShareData data;
    data.Title = strings.GetString("wShareTitle") + ShareTitleSuffix;
    if (!current) {
        data.Description = ProductTitle;
        data.Text = strings.GetString("wShareDefaultText") + " " + StorePage;
        return data;
    }
    data.Description = current->DocumentTitle();
    std::string address = current->Source() + "\n" + strings.GetString("wShareEndText");
    data.Text = data.Description.empty() ? address : data.Description + " | " + address;
    return data;
}

SharePage::SharePage(platform::PlatformServices& services, TabSet& tabs, ChromeAnimator& chrome,
                     ProductMessages& messages)
    : m_services(services), m_tabs(tabs), m_chrome(chrome), m_messages(messages),
      m_launcher(services.Launch, messages, services.Strings)
{
}

void SharePage::ShareButton_Click(ui::Element&)
{
    m_chrome.CloseAll();
    // Built once per press: the sheet shares what the page was at the press.
    auto data = BuildShareData(m_services.Strings, m_tabs.CurrentWebView());
    const auto& strings = m_services.Strings;
    std::vector<std::string> commands = {strings.GetString("wButton_ShareCopy"), strings.GetString("wButton_ShareMail"),
                                         strings.GetString("wButton_ShareClose")};
    m_messages.Show(data.Text, data.Title, commands,
                    [this, data](const std::string& label) { OnShareCommand(label, data); });
}

void SharePage::OnShareCommand(const std::string& label, const ShareData& data)
{
    const auto& strings = m_services.Strings;
    if (label == strings.GetString("wButton_ShareCopy"))
        m_services.Clip.SetText(data.Text);
    else if (label == strings.GetString("wButton_ShareMail"))
        m_launcher.Launch(MailtoUri("", data.Title, data.Text));
}
