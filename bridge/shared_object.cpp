#include "bridge/shared_object.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "bridge/bridge_dialogs.h"
#include "browser/tab_text.h"
#include "platform/ui/utf16.h"

namespace {
constexpr const char* ImageMarker = "&GET_IMG";
constexpr const char* ConfirmTitle = "Mensagem do site:";

const std::string& Argument(const std::vector<std::string>& arguments, size_t index)
{
    static const std::string none;
    return index < arguments.size() ? arguments[index] : none;
}

// Pointer positions come as page numbers ("12", "12.5"); anything else is 0.
int32_t ToInt32(const std::string& text)
{
    const char* start = text.c_str();
    char* end = nullptr;
    double value = std::strtod(start, &end);
    if (end == start || !std::isfinite(value))
        return 0;
    constexpr double low = std::numeric_limits<int32_t>::min();
    constexpr double high = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::trunc(std::fmin(std::fmax(value, low), high)));
}

const char* Boolean(bool value)
{
    return value ? "true" : "false";
}
} // namespace

std::string BoundedDialogText(const std::string& text)
{
    // Never more code units than bytes: a short text needs no count.
    if (text.size() <= MaxDialogText)
        return text;
    size_t kept = ui::Utf16PrefixBytes(text, MaxDialogText);
    return kept == text.size() ? text : text.substr(0, kept) + "\u2026";
}

SharedObject::SharedObject(const platform::Resources& strings, std::shared_ptr<BridgeDialogQueue> dialogs,
                           std::weak_ptr<ContextRequests> requests)
    : m_strings(strings), m_dialogs(std::move(dialogs)), m_requests(std::move(requests))
{
}

void SharedObject::wContextMenu(const std::string& target)
{
    auto requests = m_requests.lock();
    if (!requests)
        return;
    if (!Contains(target, ImageMarker))
        requests->ContextMenu(target, 92);
    else
        requests->ContextMenu(target.substr(0, target.rfind('&')), 127);
}

void SharedObject::wAlert(const std::string& message)
{
    m_dialogs->Show({BoundedDialogText(message), m_strings.GetString("wMessageBox_TitleScriptNotify"), {}, {}, {}});
}

void SharedObject::wConfirm(const std::string& message, std::function<void()> answered)
{
    m_confirmSelected = false;
    m_confirmClicked = false;
    // Each dialog answers once: by its yes or no, or as no when it is closed
    // otherwise, so a page waiting for it is never left blocked.
    struct Pending {
        std::function<void()> Answered;
        bool Done = false;
    };
    auto pending = std::make_shared<Pending>(Pending{std::move(answered)});
    auto self = shared_from_this();
    auto finish = [self, pending](bool yes) {
        if (pending->Done)
            return;
        pending->Done = true;
        self->SetConfirmAnswer(yes);
        if (pending->Answered)
            pending->Answered();
    };
    auto yes = m_strings.GetString("wMessageBox_Yes");
    auto no = m_strings.GetString("wMessageBox_No");
    auto onCommand = [finish, yes, no](const std::string& label) {
        if (label == yes)
            finish(true);
        else if (label == no)
            finish(false);
    };
    bool shown = m_dialogs->Show({BoundedDialogText(message) + "\n\n" + m_strings.GetString("wMessageBox_ConfirmContinue"), ConfirmTitle,
                                  {yes, no}, onCommand, [finish] { finish(false); }});
    // A page that floods the bridge gets no for the confirms that find no room.
    if (!shown)
        finish(false);
}

void SharedObject::SetConfirmAnswer(bool yes)
{
    m_confirmSelected = yes;
    m_confirmClicked = true;
}

void SharedObject::wMousePosX(int32_t x)
{
    if (auto requests = m_requests.lock())
        requests->PointerX(x);
}

void SharedObject::wMousePosY(int32_t y)
{
    if (auto requests = m_requests.lock())
        requests->PointerY(y);
}

std::optional<std::string> SharedObject::Invoke(const std::string& method, const std::vector<std::string>& arguments)
{
    if (method == "wContextMenu")
        wContextMenu(Argument(arguments, 0));
    else if (method == "wAlert")
        wAlert(Argument(arguments, 0));
    else if (method == "wConfirm")
        wConfirm(Argument(arguments, 0));
    else if (method == "wMousePosX")
        wMousePosX(ToInt32(Argument(arguments, 0)));
    else if (method == "wMousePosY")
        wMousePosY(ToInt32(Argument(arguments, 0)));
    else if (method == "wConfirmClicked")
        return Boolean(wConfirmClicked());
    else if (method == "wConfirmSelected")
        return Boolean(wConfirmSelected());
    return std::nullopt;
}

void SharedObject::InvokeWithReply(const std::string& method, const std::vector<std::string>& arguments,
                                   std::function<void(std::optional<std::string>)> reply)
{
    if (method != "wConfirm") {
        auto result = Invoke(method, arguments);
        if (reply)
            reply(std::move(result));
        return;
    }
    wConfirm(Argument(arguments, 0), [reply = std::move(reply)] {
        if (reply)
            reply(std::nullopt);
    });
}
