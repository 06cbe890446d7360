#pragma once
// The favorites: the star's add-favorite panel, the list panel with a row per
// favorite, opening one in a new tab and deleting one after a question. The
// list is read afresh at every opening; ids stay dense, 1..N, because rows
// are found by position.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/platform.h"

struct PageControls;
class ChromeAnimator;
class ProductMessages;
class TabSet;

class FavoritesPanel {
public:
    FavoritesPanel(const PageControls& controls, platform::PlatformServices& services, TabSet& tabs,
                   ChromeAnimator& chrome, ProductMessages& messages);

    // The menu entry: the list, then the panel shows.
    void BuildFavoritesList(ui::Element& sender);
    void OpenFavorite_Click(ui::Element& sender);
    // The row's cross: asks, and deletes that favorite on yes.
    void DeleteFavorite_Click(ui::Element& sender);
    // The star: the add-favorite panel opens or closes, named after the page.
    void OpenAddFavoritePanel_Click(ui::Element& sender);
    void SaveFavorite_Click(ui::Element& sender);
    void AddFavoriteNameBox_KeyDown(ui::Element& sender, ui::KeyEventArgs& args);

private:
    // What a delete question was asked about. Questions do not block, so the
    // answer may come after other deletions have moved the ids.
    struct AskedDeletion {
        int32_t Id = 0;
        std::string Name;
        std::string Link;
    };

    void DeleteFavoriteConfirmed(const AskedDeletion& asked);
    // The id the asked favorite has now, or nullopt when it is gone.
    std::optional<int32_t> FindAsked(const AskedDeletion& asked) const;
    std::unique_ptr<ui::StackPanel> BuildRow(int32_t id, const std::string& name, const std::string& link);
    // The star shows whether the current page is (still) a favorite.
    void RefreshStar();

    const PageControls& m_controls;
    platform::PlatformServices& m_services;
    TabSet& m_tabs;
    ChromeAnimator& m_chrome;
    ProductMessages& m_messages;
};
