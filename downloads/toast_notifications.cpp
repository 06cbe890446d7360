#include "downloads/toast_notifications.h"

namespace {

std::string XmlEscaped(const std::string& text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '&': escaped += "&amp;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

} // namespace

std::string ToastMarkup(const std::string& title, const std::string& message)
{
    return std::string("<toast launch=\"app-defined-string\">") + "<visual>" +
           "<binding template =\"ToastGeneric\">" + "<text>" + XmlEscaped(title) + "</text>" + "<text>" +
           XmlEscaped(message) + "</text>" +
           "<image placement=\"appLogoOverride\" src=\"Assets/NewStoreLogo.png\" />" + "</binding>" + "</visual>" +
           "</toast>";
}

void ToastNotifications::ShowToast(const std::string& title, const std::string& message)
{
    m_notifier.Show(ToastMarkup(title, message));
}
