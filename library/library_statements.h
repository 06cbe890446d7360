#pragma once
// The statements of the favorites and history panels and of the address
// suggestions. Every text value is spliced with its quotes doubled; numbers
// enter as plain decimal text.
#include <cstdint>
#include <string>

inline constexpr int32_t MaxHistoryRows = 3000;
inline constexpr int MaxFavoriteSuggestions = 15;
inline constexpr int MaxHistorySuggestions = 16;

// Every favorite as wID, wNAME, wLINK, by id: a gap in the ids hides nothing.
std::string FavoritesListQuery();
std::string FavoriteByNameQuery(const std::string& name);
// The favorite's wNAME, wLINK.
std::string FavoriteRowQuery(int32_t id);
// The first favorite holding exactly this name and link.
std::string FavoriteByNameAndLinkQuery(const std::string& name, const std::string& link);
std::string FavoriteLinkQuery(int32_t id);
std::string FavoriteInsert(const std::string& name, const std::string& link);
std::string LastFavoriteIdQuery();
// Deletes favorite id and moves each favorite above it down by one, from the
// bottom up, so the ids stay dense and in their order. One transaction.
std::string FavoriteDeletion(int32_t id, int32_t lastId);

std::string HistoryCountQuery();
// The newest visits first, as wID, wNAME, wLINK, wDATE, wTIME.
std::string HistoryListQuery();
std::string HistoryLinkQuery(int32_t id);
std::string HistoryClearing();

// The entries whose name or address may contain typed, oldest first, as wID,
// wNAME, wLINK; the caller keeps the ones that really show it.
std::string FavoriteSuggestionsQuery(const std::string& typed);
std::string HistorySuggestionsQuery(const std::string& typed);
