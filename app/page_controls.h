#pragma once
// The page markup's named controls, bound once at start; each component
// receives the ones it works on.
#include "platform/ui/element.h"
#include "platform/ui/markup.h"

struct PageControls {
    // Throws a markup error naming the first control the markup lacks.
    static PageControls Bind(const ui::LoadedMarkup& markup);

    ui::Grid* RootGrid = nullptr;
    ui::Grid* TitleBarArea = nullptr;
    ui::TextBlock* PageTitleText = nullptr;
    ui::TextBlock* VersionText = nullptr;
    ui::Button* CloseAppButton = nullptr;
    ui::TextBox* AdressBox = nullptr;
    ui::Grid* WebViewHost = nullptr;
    ui::StackPanel* TabStripPanel = nullptr;
    ui::StackPanel* TabListPanel = nullptr;
    ui::Grid* wHomeScreenPanel = nullptr;
    ui::CheckBox* wHomeScreenCheckBox_DoNotShow = nullptr;
    ui::ProgressRing* LoadingRing = nullptr;
    ui::TextBlock* LoadingText = nullptr;
    ui::Button* FavoriteStarButton = nullptr;
    ui::TextBlock* ZoomText = nullptr;
    ui::Button* SaveImageButton = nullptr;
    ui::TextBlock* SaveImageText = nullptr;
    ui::Element* SideMenuButton = nullptr;
    ui::Element* SuggestionList = nullptr;
    ui::StackPanel* SuggestionItemsPanel = nullptr;
    ui::StackPanel* FavoritesListPanel = nullptr;
    ui::StackPanel* HistoryListPanel = nullptr;
    ui::TextBox* AddFavoriteNameBox = nullptr;
    ui::Element* wReelpullPromptBar = nullptr;
    ui::Element* wSideMenu = nullptr;
    ui::Element* wMainMenu = nullptr;
    ui::Element* wAddFavoritePanel = nullptr;
    ui::Element* wFavoritesPanel = nullptr;
    ui::Element* wHistoryPanel = nullptr;
    ui::Element* wDownloadsPanel = nullptr;
    ui::Element* wDownloadDialog = nullptr;
    ui::StackPanel* DownloadsListPanel = nullptr;
    ui::TextBox* wDownloadNameBox = nullptr;
    ui::TextBox* wDownloadFolderBox = nullptr;
    ui::Element* wSettingsPanel = nullptr;
    ui::Element* wAboutPanel = nullptr; // the seventh panel
    ui::Element* wExtensionPanel = nullptr;
    ui::Grid* wDimmingOverlay = nullptr;
    ui::Element* wContextPopup = nullptr;
    ui::Button* wContextPopup_SaveImage = nullptr;
    ui::Element* ExitHintBar = nullptr;
};
