#include "app/page_controls.h"

PageControls PageControls::Bind(const ui::LoadedMarkup& markup)
{
    PageControls c;
    auto bind = [&markup](auto*& control, const char* name) {
        control = &markup.Get<std::remove_pointer_t<std::remove_reference_t<decltype(control)>>>(name);
    };
    bind(c.RootGrid, "RootGrid");
    bind(c.TitleBarArea, "TitleBarArea");
    bind(c.PageTitleText, "PageTitleText");
    bind(c.VersionText, "VersionText");
    bind(c.CloseAppButton, "CloseAppButton");
    bind(c.AdressBox, "AdressBox");
    bind(c.WebViewHost, "WebViewHost");
    bind(c.TabStripPanel, "TabStripPanel");
    bind(c.TabListPanel, "TabListPanel");
    bind(c.wHomeScreenPanel, "wHomeScreenPanel");
    bind(c.wHomeScreenCheckBox_DoNotShow, "wHomeScreenCheckBox_DoNotShow");
    bind(c.LoadingRing, "LoadingRing");
    bind(c.LoadingText, "LoadingText");
    bind(c.FavoriteStarButton, "FavoriteStarButton");
    bind(c.ZoomText, "ZoomText");
    bind(c.SaveImageButton, "SaveImageButton");
    bind(c.SaveImageText, "SaveImageText");
    bind(c.SideMenuButton, "SideMenuButton");
    bind(c.SuggestionList, "SuggestionList");
    bind(c.SuggestionItemsPanel, "SuggestionItemsPanel");
    bind(c.FavoritesListPanel, "FavoritesListPanel");
    bind(c.HistoryListPanel, "HistoryListPanel");
    bind(c.AddFavoriteNameBox, "AddFavoriteNameBox");
    bind(c.wReelpullPromptBar, "wReelpullPromptBar");
    bind(c.wSideMenu, "wSideMenu");
    bind(c.wMainMenu, "wMainMenu");
    bind(c.wAddFavoritePanel, "wAddFavoritePanel");
    bind(c.wFavoritesPanel, "wFavoritesPanel");
    bind(c.wHistoryPanel, "wHistoryPanel");
    bind(c.wDownloadsPanel, "wDownloadsPanel");
    bind(c.wDownloadDialog, "wDownloadDialog");
    bind(c.DownloadsListPanel, "DownloadsListPanel");
    bind(c.wDownloadNameBox, "wDownloadNameBox");
    bind(c.wDownloadFolderBox, "wDownloadFolderBox");
    bind(c.wSettingsPanel, "wSettingsPanel");
    bind(c.wAboutPanel, "wAboutPanel");
    bind(c.wExtensionPanel, "wExtensionPanel");
    bind(c.wDimmingOverlay, "wDimmingOverlay");
    bind(c.wContextPopup, "wContextPopup");
    bind(c.wContextPopup_SaveImage, "wContextPopup_SaveImage");
    bind(c.ExitHintBar, "ExitHintBar");
    return c;
}
