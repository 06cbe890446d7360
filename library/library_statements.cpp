#include "library/library_statements.h"

#include "library/suggestion_match.h"
#include "storage/database.h"

namespace {

std::string Quoted(const std::string& value)
{
    return "'" + SqlQuoted(value) + "'";
}

// The condition means what it says: the name or the address holds the text.
// The escape clause costs a tenth of a full scan, so it comes only when needed.
std::string SuggestionsQuery(const std::string& table, const std::string& typed)
{
    std::string pattern = SuggestionLikePattern(typed);
    std::string like = " LIKE " + Quoted(pattern) + (pattern.find('\\') != std::string::npos ? " ESCAPE '\\'" : "");
    return "SELECT wID, wNAME, wLINK FROM " + table + " WHERE (wNAME" + like + " OR wLINK" + like + ") ORDER BY wID";
}

} // namespace

std::string FavoritesListQuery()
{
    return "SELECT wID, wNAME, wLINK FROM wFavorite_Registered ORDER BY wID";
}

std::string FavoriteByNameQuery(const std::string& name)
{
    return "SELECT wID FROM wFavorite_Registered WHERE wNAME=" + Quoted(name) + ";";
}

std::string FavoriteRowQuery(int32_t id)
{
    return "SELECT wNAME, wLINK FROM wFavorite_Registered WHERE wID=" + std::to_string(id);
}

std::string FavoriteByNameAndLinkQuery(const std::string& name, const std::string& link)
{
    return "SELECT wID FROM wFavorite_Registered WHERE wNAME=" + Quoted(name) + " AND wLINK=" + Quoted(link) +
           " ORDER BY wID";
}

std::string FavoriteLinkQuery(int32_t id)
{
    return "SELECT wLINK FROM wFavorite_Registered WHERE wID=" + std::to_string(id);
}

std::string FavoriteInsert(const std::string& name, const std::string& link)
{
    return "INSERT INTO wFavorite_Registered VALUES (NULL, " + Quoted(name) + ", " + Quoted(link) + ");";
}

std::string LastFavoriteIdQuery()
{
    return "SELECT MAX(wID) FROM wFavorite_Registered";
}

std::string FavoriteDeletion(int32_t id, int32_t lastId)
{
    std::string statements = "DELETE from wFavorite_Registered where wID=" + std::to_string(id) + ";";
    for (int32_t j = id; j < lastId; ++j)
        statements += " UPDATE wFavorite_Registered SET wID=" + std::to_string(j) + " WHERE wID=" + std::to_string(j + 1) + ";";
    return statements;
}

std::string HistoryCountQuery()
{
    return "SELECT COUNT(*) FROM wHistoric_PagesOpened";
}

std::string HistoryListQuery()
{
    return "SELECT wID, wNAME, wLINK, wDATE, wTIME FROM wHistoric_PagesOpened ORDER BY wID DESC LIMIT " +
           std::to_string(MaxHistoryRows);
}

std::string HistoryLinkQuery(int32_t id)
{
    return "SELECT wLINK FROM wHistoric_PagesOpened WHERE wID=" + std::to_string(id);
}

std::string HistoryClearing()
{
    return "DELETE FROM wHistoric_PagesOpened";
}

std::string FavoriteSuggestionsQuery(const std::string& typed)
{
    return SuggestionsQuery("wFavorite_Registered", typed);
}

std::string HistorySuggestionsQuery(const std::string& typed)
{
    return SuggestionsQuery("wHistoric_PagesOpened", typed);
}
