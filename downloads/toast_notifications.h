#pragma once
// ShowToast: a title and a message as a toast of the desktop's notification
// centre. Both texts are escaped before they enter the toast markup, so a
// file named "<&" shows as it is instead of breaking the toast; a toast
// without those characters keeps the markup it always had.
#include <string>

#include "platform/downloads.h"

// The toast markup for a title and a message: nine fixed pieces, joined.
std::string ToastMarkup(const std::string& title, const std::string& message);

class ToastNotifications {
public:
    explicit ToastNotifications(platform::ToastNotifier& notifier) : m_notifier(notifier) {}
    void ShowToast(const std::string& title, const std::string& message);

private:
    platform::ToastNotifier& m_notifier;
};
