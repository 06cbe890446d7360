#pragma once
// The nine settings the panel shows: where each is stored, which control
// shows it and, for a choice, the stored value of each item in item order
// (the index is what the control keeps, so this order is the contract).
#include <optional>
#include <string>
#include <vector>

enum class SettingControl { Text, Toggle, Choice };

struct StoredSetting {
    const char* Table;
    const char* Column;
    const char* Control; // the control's name in the markup
    SettingControl Kind;
    std::vector<std::string> Choices; // a choice's values by index; empty otherwise
    const char* Default;              // what a fresh file holds
};

// In the order they are read and written.
const std::vector<StoredSetting>& StoredSettings();

// "SELECT column FROM table".
std::string ReadQuery(const StoredSetting& setting);
// The row replaced: "DELETE FROM T; INSERT INTO T VALUES ('V');", quotes in V doubled.
std::string WriteStatement(const StoredSetting& setting, const std::string& value);

// A setting's one row, read with its query; a table holding several rows
// (a damaged file) reads as empty, like one holding none, so no reader picks
// one of them by chance. The configuration database must be open.
std::string StoredValue(const std::string& query);

// The item a stored value selects; a value matching no item (another case,
// empty, edited by hand) selects the default's item, so the panel never
// shows a stale choice and the next save repairs the row.
int ChoiceIndex(const StoredSetting& setting, const std::string& stored);

// The home page as it is stored, or nothing when it is not a link: fewer
// than 6 characters (UTF-16 code units), no ".", or, once "http://" is put in
// front of a text holding neither "http://" nor "https://", no address the
// browser could open (a text the URI parser refuses, a "javascript:" link).
std::optional<std::string> NormalisedHomePage(const std::string& typed);
