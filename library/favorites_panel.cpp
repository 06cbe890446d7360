#include "library/favorites_panel.h"

#include "app/page_controls.h"
#include "app/product_messages.h"
#include "bridge/chrome_animator.h"
#include "browser/favorite_star.h"
#include "browser/tab_set.h"
#include "library/library_rows.h"
#include "library/library_statements.h"
#include "library/operation_databases.h"
#include "library/stored_items.h"
#include "settings/theme_painter.h"
#include "storage/database.h"

namespace {
constexpr int EnterKey = 13;
}

FavoritesPanel::FavoritesPanel(const PageControls& controls, platform::PlatformServices& services, TabSet& tabs,
                               ChromeAnimator& chrome, ProductMessages& messages)
    : m_controls(controls), m_services(services), m_tabs(tabs), m_chrome(chrome), m_messages(messages)
{
}

void FavoritesPanel::BuildFavoritesList(ui::Element&)
{
    OperationDatabases databases{FavoritesDb};
    auto& panel = *m_controls.FavoritesListPanel;
    panel.Clear();
    QueryEachRow(FavoritesDb, FavoritesListQuery(), [&](const std::vector<std::string>& row) {
        if (auto id = StoredId(row[0]))
            panel.Append(BuildRow(*id, row[1], row[2]));
        return true;
    });
    if (panel.Count() == 0)
        panel.Append(GreyNotice(m_services.Strings.GetString("wText_NullFavorite/Text")));
    m_chrome.OpenPanel(&OpenFlags::Favorites);
}

std::unique_ptr<ui::StackPanel> FavoritesPanel::BuildRow(int32_t id, const std::string& name, const std::string& link)
{
    auto row = std::make_unique<ui::StackPanel>();
    row->SetTag(id);
    row->SetHeight(40);

    row->Append(AddressLine(id, link, {5, 18, 27, 0}));

    auto& open = row->Append(NameButton(id, name, {4, 0, 26, 20}));
    open.Click.Subscribe([this](ui::Element& sender) { OpenFavorite_Click(sender); });

    auto& remove = row->Append(std::make_unique<ui::Button>());
    remove.SetTag(id);
    remove.SetFontFamily(SymbolFont);
    remove.SetContent(DeleteGlyph);
    remove.SetFontSize(15);
    remove.SetWidth(25);
    remove.SetHeight(40);
    remove.SetBackground(ui::Color::Transparent());
    remove.SetBorderThickness(ui::Thickness(1));
    remove.SetHorizontalAlignment(ui::HorizontalAlignment::Right);
    remove.SetPadding(ui::Thickness(0));
    remove.SetMargin({0, -40, 0, 0});
    remove.Click.Subscribe([this](ui::Element& sender) { DeleteFavorite_Click(sender); });
    return row;
}

void FavoritesPanel::OpenFavorite_Click(ui::Element& sender)
{
    auto id = sender.Tag();
    if (!id)
        return;
    OperationDatabases databases{FavoritesDb, ConfigDb};
    auto target = StoredLinkTarget(QueryText(FavoritesDb, FavoriteLinkQuery(*id)), m_services.Strings, m_messages);
    if (!target)
        return;
    m_tabs.OpenTab(*target);
    m_chrome.CloseAll();
}

void FavoritesPanel::DeleteFavorite_Click(ui::Element& sender)
{
    auto id = sender.Tag();
    if (!id)
        return;
    AskedDeletion asked{*id, {}, {}};
    {
        OperationDatabases databases{FavoritesDb};
        QueryEachRow(FavoritesDb, FavoriteRowQuery(*id), [&](const std::vector<std::string>& row) {
            asked.Name = row[0];
            asked.Link = row[1];
            return false;
        });
    }
    const auto& strings = m_services.Strings;
    auto yes = strings.GetString("wMessageBox_Yes");
    // Straight to the dialogs: two crosses clicked before answering are two questions.
    m_services.Dialogs.Show(strings.GetString("wMessageBox_AlertDeleteFavorite"), ProductTitle,
                            {yes, strings.GetString("wMessageBox_No")},
                            [this, yes, asked](const std::string& label) {
                                if (label == yes)
                                    DeleteFavoriteConfirmed(asked);
                            });
}

std::optional<int32_t> FavoritesPanel::FindAsked(const AskedDeletion& asked) const
{
    bool unmoved = false;
    QueryEachRow(FavoritesDb, FavoriteRowQuery(asked.Id), [&](const std::vector<std::string>& row) {
        unmoved = row[0] == asked.Name && row[1] == asked.Link;
        return false;
    });
    if (unmoved)
        return asked.Id;
    int32_t moved = QueryInteger(FavoritesDb, FavoriteByNameAndLinkQuery(asked.Name, asked.Link));
    if (moved == -1)
        return std::nullopt;
    return moved;
}

void FavoritesPanel::DeleteFavoriteConfirmed(const AskedDeletion& asked)
{
    {
        OperationDatabases databases{FavoritesDb};
        auto id = FindAsked(asked);
        if (!id)
            return;
        int32_t lastId = QueryInteger(FavoritesDb, LastFavoriteIdQuery());
        if (ExecuteTransaction(FavoritesDb, FavoriteDeletion(*id, lastId)) != 0) {
            m_messages.Show(m_services.Strings.GetString("wMessageBox_DatabaseWriteFailed"));
            return;
        }
    }
    m_messages.Show(ItemMessage(asked.Name, m_services.Strings.GetString("wMessageBox_FavoriteDeleteSucess")));
    m_chrome.ReturnToSideMenu();
    RefreshStar();
}

void FavoritesPanel::OpenAddFavoritePanel_Click(ui::Element&)
{
    auto* view = m_tabs.CurrentWebView();
    if (!view || !m_tabs.Slot(0).WebView) {
        m_messages.Show(m_services.Strings.GetString("wMessageBox_NullGuidesAddFavorite"));
        return;
    }
    m_chrome.TogglePanel(&OpenFlags::AddFavorite);
    m_controls.AddFavoriteNameBox->SetText(view->DocumentTitle());
    // Ready to rename and press Enter.
    if (m_chrome.Flags().AddFavorite)
        m_controls.AddFavoriteNameBox->Focus(ui::FocusState::Programmatic);
}

void FavoritesPanel::AddFavoriteNameBox_KeyDown(ui::Element& sender, ui::KeyEventArgs& args)
{
    if (args.Key != EnterKey)
        return;
    args.Handled = true;
    SaveFavorite_Click(sender);
}

void FavoritesPanel::SaveFavorite_Click(ui::Element&)
{
    auto* view = m_tabs.CurrentWebView();
    if (!view || !m_tabs.Slot(0).WebView) {
        m_messages.Show(m_services.Strings.GetString("wMessageBox_NullGuidesAddFavorite"));
        return;
    }
    const auto link = view->Source();
    auto name = m_controls.AddFavoriteNameBox->Text();
    if (name.empty())
        name = link;
    {
        OperationDatabases databases{FavoritesDb};
        if (QueryInteger(FavoritesDb, FavoriteByNameQuery(name)) != -1) {
            m_messages.Show(ItemMessage(name, m_services.Strings.GetString("wMessageBox_AddFavoriteRepeat")));
            return;
        }
        if (ExecuteStatement(FavoritesDb, FavoriteInsert(name, link)) != 0) {
            m_messages.Show(m_services.Strings.GetString("wMessageBox_DatabaseWriteFailed"));
            return;
        }
    }
    m_messages.Show(ItemMessage(name, m_services.Strings.GetString("wMessageBox_SucessAddFavorite")));
    RefreshStar();
    m_chrome.CloseAll();
}

void FavoritesPanel::RefreshStar()
{
    auto* view = m_tabs.CurrentWebView();
    if (!view)
        return;
    OperationDatabases databases{FavoritesDb, ConfigDb};
    ShowFavoriteStar(*m_controls.FavoriteStarButton, view->Source(), ThemePainter::ThemeName());
}
