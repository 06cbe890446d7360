#include "browser/visit_statements.h"

#include "storage/database.h"

std::string HistoryVisitQuery(const std::string& link, const std::string& date)
{
    return "SELECT wID FROM wHistoric_PagesOpened WHERE wLINK='" + SqlQuoted(link) + "' AND wDATE='" +
           SqlQuoted(date) + "'";
}

std::string HistoryVisitInsert(const std::string& title, const std::string& link, const std::string& date,
                               const std::string& time)
{
    return "INSERT INTO wHistoric_PagesOpened VALUES (NULL, \"" + title + "\",'" + SqlQuoted(link) + "','" +
           SqlQuoted(date) + "','" + SqlQuoted(time) + "');";
}

std::string FavoriteLookupQuery(const std::string& link)
{
    return "SELECT wID FROM wFavorite_Registered WHERE wLINK='" + SqlQuoted(link) + "';";
}

std::string PageOpenedQuery(int tab)
{
    return "SELECT wLINK FROM wConfig_PagesOpened WHERE wID=" + std::to_string(tab);
}

std::string PageOpenedInsert(int tab, const std::string& link)
{
    return "INSERT INTO wConfig_PagesOpened VALUES (" + std::to_string(tab) + ", '" + SqlQuoted(link) + "');";
}

std::string PageOpenedUpdate(int tab, const std::string& link)
{
    return "UPDATE wConfig_PagesOpened SET wLINK='" + SqlQuoted(link) + "' WHERE wID=" + std::to_string(tab);
}
