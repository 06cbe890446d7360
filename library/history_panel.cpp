#include "library/history_panel.h"

#include "app/page_controls.h"
#include "app/product_messages.h"
#include "bridge/chrome_animator.h"
#include "browser/tab_set.h"
#include "library/library_rows.h"
#include "library/library_statements.h"
#include "library/operation_databases.h"
#include "library/stored_items.h"
#include "storage/database.h"

namespace {
constexpr ui::Color LightSalmon = ui::Color::FromRgb(255, 160, 122);
}

HistoryPanel::HistoryPanel(const PageControls& controls, platform::PlatformServices& services, TabSet& tabs,
                           ChromeAnimator& chrome, ProductMessages& messages)
    : m_controls(controls), m_services(services), m_tabs(tabs), m_chrome(chrome), m_messages(messages)
{
}

void HistoryPanel::RetireContent()
{
    auto& panel = *m_controls.HistoryListPanel;
    while (panel.Count() > 0)
        m_tabs.Retire(panel.RemoveAt(panel.Count() - 1));
}

void HistoryPanel::OpenHistoryPanel(ui::Element&)
{
    RetireContent();
    auto& panel = *m_controls.HistoryListPanel;
    int32_t count = 0;
    {
        OperationDatabases databases{HistoryDb};
        count = QueryInteger(HistoryDb, HistoryCountQuery());
    }
    if (count > 0) {
        auto& show = panel.Append(std::make_unique<ui::Button>());
        show.SetContent(m_services.Strings.GetString("wShowListHistoric/Content"));
        show.SetTag(ShowListTag);
        show.SetFontSize(13);
        show.SetWidth(100);
        show.SetHeight(25);
        show.SetBackground(ui::Color::Transparent());
        show.SetBorderThickness(ui::Thickness(1));
        show.SetHorizontalAlignment(ui::HorizontalAlignment::Center);
        show.SetHorizontalContentAlignment(ui::HorizontalAlignment::Center);
        show.SetPadding({0, 0, 0, 3});
        show.SetMargin({0, 10, 0, 0});
        show.Click.Subscribe([this](ui::Element& sender) { BuildHistoryList(sender); });
    } else {
        panel.Append(GreyNotice(m_services.Strings.GetString("wText_NullHistoric/Text")));
    }
    m_chrome.OpenPanel(&OpenFlags::History);
}

void HistoryPanel::BuildHistoryList(ui::Element&)
{
    // The show-list button is the sender: it leaves, but lives until the next tick.
    RetireContent();
    auto& panel = *m_controls.HistoryListPanel;
    OperationDatabases databases{HistoryDb};
    if (QueryInteger(HistoryDb, HistoryCountQuery()) > MaxHistoryRows) {
        auto& notice = panel.Append(std::make_unique<ui::TextBlock>());
        notice.SetText(m_services.Strings.GetString("wMaxShowHistoric/Text"));
        notice.SetFontSize(13);
        notice.SetForeground(LightSalmon);
        notice.SetMargin(ui::Thickness(5));
    }
    QueryEachRow(HistoryDb, HistoryListQuery(), [&](const std::vector<std::string>& row) {
        if (auto id = StoredId(row[0]))
            panel.Append(BuildRow(*id, row[1], row[2], row[3], row[4]));
        return true;
    });
}

std::unique_ptr<ui::StackPanel> HistoryPanel::BuildRow(int32_t id, const std::string& name, const std::string& link,
                                                       const std::string& date, const std::string& time)
{
    auto row = std::make_unique<ui::StackPanel>();
    row->SetTag(id);
    row->SetHeight(40);

    auto& when = row->Append(std::make_unique<ui::TextBlock>());
    when.SetTag(id);
    when.SetText(time + "\n" + date);
    when.SetFontSize(12);
    when.SetWidth(50);
    when.SetForeground(RowGrey);
    when.SetHorizontalAlignment(ui::HorizontalAlignment::Right);
    when.SetPadding(ui::Thickness(0));
    when.SetMargin({0, 4, 5, -25});

    row->Append(AddressLine(id, link, {5, 7, 50, 0}));

    auto& open = row->Append(NameButton(id, name, {5, 0, 45, 20}));
    open.Click.Subscribe([this](ui::Element& sender) { OpenHistoryEntry_Click(sender); });
    return row;
}

void HistoryPanel::OpenHistoryEntry_Click(ui::Element& sender)
{
    auto id = sender.Tag();
    if (!id)
        return;
    OperationDatabases databases{HistoryDb, ConfigDb};
    auto target = StoredLinkTarget(QueryText(HistoryDb, HistoryLinkQuery(*id)), m_services.Strings, m_messages);
    if (!target)
        return;
    m_tabs.OpenTab(*target);
    m_chrome.CloseAll();
}

void HistoryPanel::ClearHistory_Click(ui::Element&)
{
    const auto& strings = m_services.Strings;
    m_messages.Ask(strings.GetString("wMessageBox_AlertClearHistoric"), strings.GetString("wMessageBox_Yes"),
                   strings.GetString("wMessageBox_No"), [this] { ClearHistoryConfirmed(); });
}

void HistoryPanel::ClearHistoryConfirmed()
{
    {
        OperationDatabases databases{HistoryDb};
        if (ExecuteStatement(HistoryDb, HistoryClearing()) != 0) {
            m_messages.Show(m_services.Strings.GetString("wMessageBox_DatabaseWriteFailed"));
            return;
        }
    }
    // Not awaited: the adapter logs a failure.
    m_services.Browsers.ClearTemporaryWebData();
    m_messages.Show(m_services.Strings.GetString("wMessageBox_SucessClearHistoric"));
    m_chrome.ReturnToSideMenu();
}

void HistoryPanel::ReleaseHistoryRows()
{
    m_controls.HistoryListPanel->Clear();
}
