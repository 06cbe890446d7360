#pragma once
// The bridge object every page sees as wScriptNotify. It passes the page's
// right-clicks on to its tab and shows the page's alert and confirm dialogs.
// Whatever a page passes is bounded: texts reaching a dialog are cut.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/resources.h"
#include "platform/web_view.h"

class BridgeDialogQueue;

// Where the object reports a page's right-click: the pointer, then the target
// (kind 92 for a link, 127 for an image).
class ContextRequests {
public:
    virtual ~ContextRequests() = default;
    virtual void PointerX(int32_t x) = 0;
    virtual void PointerY(int32_t y) = 0;
    virtual void ContextMenu(const std::string& target, int32_t kind) = 0;
};

// The longest text a dialog shows, in UTF-16 code units; longer texts end in "…".
inline constexpr size_t MaxDialogText = 10000;
std::string BoundedDialogText(const std::string& text);

class SharedObject : public platform::WebAllowedObject, public std::enable_shared_from_this<SharedObject> {
public:
    // Create with std::make_shared: dialog continuations hold the object.
    SharedObject(const platform::Resources& strings, std::shared_ptr<BridgeDialogQueue> dialogs,
                 std::weak_ptr<ContextRequests> requests);

    // A right-click on a link, or on an image (its address + "&GET_IMG").
    void wContextMenu(const std::string& target);
    // Shows the message; returns at once.
    void wAlert(const std::string& message);
    // Clears both confirm fields and shows the yes/no dialog; returns at once.
    // answered runs once the fields hold the user's answer.
    void wConfirm(const std::string& message, std::function<void()> answered = {});
    void wMousePosX(int32_t x);
    void wMousePosY(int32_t y);
    bool wConfirmClicked() const { return m_confirmClicked; }
    bool wConfirmSelected() const { return m_confirmSelected; }

    // Page script's calls by method name; an unknown method does nothing.
    std::optional<std::string> Invoke(const std::string& method, const std::vector<std::string>& arguments) override;
    // wConfirm replies once the user has answered; every other method at once.
    void InvokeWithReply(const std::string& method, const std::vector<std::string>& arguments,
                         std::function<void(std::optional<std::string>)> reply) override;

private:
    void SetConfirmAnswer(bool yes);

    const platform::Resources& m_strings;
    std::shared_ptr<BridgeDialogQueue> m_dialogs;
    // The tab may close while its page still calls.
    std::weak_ptr<ContextRequests> m_requests;
    bool m_confirmSelected = false;
    bool m_confirmClicked = false;
};
