#pragma once
// The three database files, their tables and the default settings.
#include <string>

inline constexpr const char* FavoritesFile = "wFavorite_database.db";
inline constexpr const char* HistoryFile = "wHistoric_database.db";
inline constexpr const char* ConfigFile = "wConfig_database.db";

// Default home page: the Bing home page over http.
inline constexpr const char* DefaultHomePage = "http://www.bing.com/";

// The creation texts, one per database, as the constructor runs them.
const std::string& FavoritesCreationText();
const std::string& HistoryCreationText();
const std::string& ConfigCreationText();

// Opens, creates and closes the favorites and history databases; opens and
// creates the configuration database and leaves it open.
void CreateDatabases();
// Seeds the default settings on the open configuration database, in order.
void SeedDefaults();
