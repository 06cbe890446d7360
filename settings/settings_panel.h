#pragma once
// The settings panel: shows the nine stored settings when it opens, stores
// them together when the user saves. Closing it unsaved drops the edits: the
// next opening reads the file again.
#include "platform/platform.h"
#include "platform/ui/element.h"
#include "platform/ui/markup.h"

class ChromeAnimator;
class ProductMessages;
struct StoredSetting;

class SettingsPanel {
public:
    // The controls are found by name in the markup.
    SettingsPanel(const ui::LoadedMarkup& markup, platform::PlatformServices& services, ChromeAnimator& chrome,
                  ProductMessages& messages);

    // The settings entry of either menu.
    void OpenSettings();
    void SaveSettings_Click(ui::Element& sender);

private:
    void ShowStored(const StoredSetting& setting);
    // The value the control holds for its setting; nothing for a choice with
    // no item selected.
    std::optional<std::string> ShownValue(const StoredSetting& setting, const std::string& homePage) const;
    // The title bar setting exists on phones only; a desktop keeps its own.
    bool TitleBarIsFixed() const;

    const ui::LoadedMarkup& m_markup;
    platform::PlatformServices& m_services;
    ChromeAnimator& m_chrome;
    ProductMessages& m_messages;
};
