#include "services/support_mail.h"

#include "bridge/chrome_animator.h"
#include "services/uri_text.h"

namespace {
constexpr const char* SupportAddress = "support@tolvane.org";
constexpr const char* SubjectSuffix = " [Tolvane Browser]";
} // namespace

std::string SupportMailUri(const platform::Resources& strings)
{
    return MailtoUri(SupportAddress, strings.GetString("wSendEmailSupport") + SubjectSuffix);
}

void SupportMail::SupportMail_Click(ui::Element&)
{
    m_chrome.CloseAll();
    m_launcher.Launch(SupportMailUri(m_services.Strings));
}
