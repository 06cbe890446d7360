#pragma once
// The statements a completed navigation runs: its history visit, the favorite
// star's lookup and the tab's row among the pages to restore. Every value is
// spliced with its quotes doubled.
#include <string>

// The visit of link on date, if recorded (a wID, or no row).
std::string HistoryVisitQuery(const std::string& link, const std::string& date);
// The title stands between double quotes: the caller has already turned its
// double quotes into apostrophes.
std::string HistoryVisitInsert(const std::string& title, const std::string& link, const std::string& date,
                               const std::string& time);
std::string FavoriteLookupQuery(const std::string& link);
std::string PageOpenedQuery(int tab);
std::string PageOpenedInsert(int tab, const std::string& link);
std::string PageOpenedUpdate(int tab, const std::string& link);
