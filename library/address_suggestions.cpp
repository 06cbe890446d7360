#include "library/address_suggestions.h"

#include "app/page_controls.h"
#include "app/product_messages.h"
#include "bridge/chrome_animator.h"
#include "browser/tab_set.h"
#include "library/library_rows.h"
#include "library/library_statements.h"
#include "library/operation_databases.h"
#include "library/stored_items.h"
#include "library/suggestion_match.h"
#include "storage/database.h"

namespace {
constexpr ui::Color EntryText = ui::Color::FromRgb(32, 32, 32);
constexpr const char* FavoriteEntryName = "wFavorite";
constexpr const char* HistoryEntryName = "wHistoric";
} // namespace

// One of the two kinds of entries: where they come from and how they look.
struct AddressSuggestions::Section {
    DatabaseId Database;
    std::string Query;
    int MaxEntries;
    std::string Header;
    const char* EntryName;
    const char* Glyph;
    double GlyphSize;
    ui::Color GlyphColor;
    double GlyphBottom;
};

AddressSuggestions::AddressSuggestions(const PageControls& controls, platform::PlatformServices& services,
                                       TabSet& tabs, ChromeAnimator& chrome, ProductMessages& messages)
    : m_controls(controls), m_services(services), m_tabs(tabs), m_chrome(chrome), m_messages(messages)
{
}

void AddressSuggestions::RetireEntries()
{
    auto& items = *m_controls.SuggestionItemsPanel;
    while (items.Count() > 0)
        m_tabs.Retire(items.RemoveAt(items.Count() - 1));
}

void AddressSuggestions::AdressBox_TextChanged(ui::Element&)
{
    RetireEntries();
    const auto& box = *m_controls.AdressBox;
    if (box.FocusState() != ui::FocusState::Pointer)
        return;
    OperationDatabases databases{FavoritesDb, HistoryDb};
    const std::string typed = box.Text();
    const auto& strings = m_services.Strings;
    Section favorites{FavoritesDb, FavoriteSuggestionsQuery(typed), MaxFavoriteSuggestions,
                      strings.GetString("wSec_Name_Favorite/Text"), FavoriteEntryName, "\xEE\x87\x8F", 15,
                      ui::Color::FromRgb(247, 203, 0), -22};
    Section history{HistoryDb, HistorySuggestionsQuery(typed), MaxHistorySuggestions,
                    strings.GetString("wSec_Name_Historic/Text"), HistoryEntryName, "\xEE\xA0\x9C", 14,
                    ui::Color::Black(), -23};
    bool afterFavorites = AddSection(favorites, typed, false);
    AddSection(history, typed, afterFavorites);
}

bool AddressSuggestions::AddSection(const Section& section, const std::string& typed, bool afterFavorites)
{
    auto& items = *m_controls.SuggestionItemsPanel;
    int added = 0;
    QueryEachRow(section.Database, section.Query, [&](const std::vector<std::string>& row) {
        auto id = StoredId(row[0]);
        if (!id || (!ShowsTyped(row[1], typed) && !ShowsTyped(row[2], typed)))
            return true;
        if (added == 0) {
            auto& header = items.Append(std::make_unique<ui::TextBlock>());
            header.SetText(section.Header);
            header.SetFontSize(13);
            header.SetForeground(EntryText);
            if (section.Database == FavoritesDb) {
                header.SetMargin({0, 3, 0, 3});
            } else {
                header.SetPadding(ui::Thickness(0));
                header.SetMargin({0, afterFavorites ? 10.0 : 3.0, 5, 5});
            }
        }
        m_controls.SuggestionList->SetVisibility(ui::Visibility::Visible);
        AddEntry(section, *id, row[2]);
        return ++added < section.MaxEntries;
    });
    return added > 0;
}

void AddressSuggestions::AddEntry(const Section& section, int32_t id, const std::string& link)
{
    auto& items = *m_controls.SuggestionItemsPanel;
    auto& glyph = items.Append(std::make_unique<ui::TextBlock>());
    glyph.SetFontFamily(SymbolFont);
    glyph.SetText(section.Glyph);
    glyph.SetFontSize(section.GlyphSize);
    glyph.SetForeground(section.GlyphColor);
    glyph.SetHorizontalAlignment(ui::HorizontalAlignment::Left);
    glyph.SetMargin({0, 9.5, 0, section.GlyphBottom});

    auto& entry = items.Append(std::make_unique<ui::TextBlock>());
    entry.SetName(section.EntryName);
    entry.SetText(link);
    entry.SetTag(id);
    entry.SetFontSize(13);
    entry.SetHeight(35);
    entry.SetForeground(EntryText);
    entry.SetHorizontalAlignment(ui::HorizontalAlignment::Stretch);
    entry.SetPadding({20, 5, 10, 5});
    entry.Tapped.Subscribe([this](ui::Element& sender) { ChooseSuggestion(sender); });
}

void AddressSuggestions::ChooseSuggestion(ui::Element& sender)
{
    auto id = sender.Tag();
    if (!id)
        return;
    std::string link;
    {
        OperationDatabases databases{FavoritesDb, HistoryDb};
        link = sender.Name() == FavoriteEntryName ? QueryText(FavoritesDb, FavoriteLinkQuery(*id))
                                                  : QueryText(HistoryDb, HistoryLinkQuery(*id));
    }
    auto target = StoredLinkTarget(link, m_services.Strings, m_messages);
    if (!target)
        return;
    NavigateOrOpen(*target);
    // As after Enter: the page takes the focus, so the list collapses.
    if (auto* view = m_tabs.CurrentWebView())
        view->Focus(ui::FocusState::Programmatic);
    m_chrome.CloseAll();
}

void AddressSuggestions::NavigateOrOpen(const platform::Uri& uri)
{
    if (auto* view = m_tabs.CurrentWebView(); view && m_tabs.Slot(0).WebView) {
        view->Navigate(uri);
        m_tabs.SetLoading(m_tabs.CurrentTabIndex(), true);
        return;
    }
    OperationDatabases databases{ConfigDb};
    m_tabs.OpenTab(uri);
}
