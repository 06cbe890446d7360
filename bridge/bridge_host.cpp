#include "bridge/bridge_host.h"

#include "bridge/bridge_dialogs.h"
#include "bridge/chrome_animator.h"
#include "bridge/page_bridge.h"
#include "bridge/page_scripts.h"
#include "bridge/shared_object.h"
#include "browser/tab_set.h"
#include "storage/database.h"

BridgeHost::BridgeHost(platform::PlatformServices& services, BridgeState& request, ChromeAnimator& chrome, TabSet& tabs)
    : m_services(services), m_request(request), m_chrome(chrome), m_tabs(tabs)
{
}

const std::shared_ptr<PageBridge>& BridgeHost::BridgeOf(int tab)
{
    if (const auto& bridge = m_tabs.Slot(tab).Bridge)
        return bridge;
    auto accepted = [this](const BridgeState& request) {
        m_request = request;
        m_chrome.OpenContextPopup();
    };
    m_tabs.AttachBridge(tab, std::make_shared<PageBridge>(m_services.Dialogs, [this] { return Now(); }, accepted));
    return m_tabs.Slot(tab).Bridge;
}

void BridgeHost::InstallBridge(int tab)
{
    const auto& bridge = BridgeOf(tab);
    bridge->NewDocument();
    m_tabs.Slot(tab).WebView->AddWebAllowedObject(
        "wScriptNotify", std::make_shared<SharedObject>(m_services.Strings, bridge->Dialogs(), bridge));
}

void BridgeHost::InjectPageScripts(int tab)
{
    // Each script adds listeners: a second run would double every right-click.
    if (!BridgeOf(tab)->TakeScriptInjection())
        return;
    for (const auto* script : PageScripts())
        m_tabs.Slot(tab).WebView->InvokeScriptAsync("eval", {*script});
}

void BridgeHost::ContextMenuGesture(int tab)
{
    BridgeOf(tab)->ContextMenuGesture();
}

void BridgeHost::PagePrompt(int tab, platform::PromptRequestedArgs& args)
{
    args.Handled = true;
    BridgeDialog dialog;
    dialog.Content = BoundedDialogText(args.Message);
    dialog.Title = m_services.Strings.GetString("wMessageBox_TitleScriptNotify");
    dialog.Commands = {m_services.Strings.GetString("wMessageBox_PromptOk"),
                       m_services.Strings.GetString("wMessageBox_PromptCancel")};
    dialog.PromptDefault = BoundedDialogText(args.DefaultText);
    dialog.OnPrompt = args.Reply;
    if (!BridgeOf(tab)->Dialogs()->Show(std::move(dialog)))
        args.Reply(std::nullopt);
}

std::optional<platform::Uri> BridgeHost::WebTarget() const
{
    auto uri = platform::Uri::Parse(m_request.ContextTarget);
    if (!uri || (uri->Scheme() != "http" && uri->Scheme() != "https"))
        return std::nullopt;
    return uri;
}

void BridgeHost::OpenInNewTabEntry_Click(ui::Element&)
{
    if (auto uri = WebTarget()) {
        m_tabs.OpenTab(*uri);
        CloseDatabase(ConfigDb);
    }
    m_chrome.DismissContextPopup();
}

void BridgeHost::CopyLinkEntry_Click(ui::Element&)
{
    if (WebTarget())
        m_services.Clip.SetText(m_request.ContextTarget);
    m_chrome.DismissContextPopup();
}

void BridgeHost::SaveImageEntry_Click(ui::Element&)
{
    std::string target = m_request.ContextTarget;
    m_chrome.DismissContextPopup();
    // Only web addresses are fetched; the download's own checks refuse the rest.
    if (WebTarget() && SaveImageRequested)
        SaveImageRequested(target);
}
