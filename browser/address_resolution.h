#pragma once
// Turning what the user typed into one absolute address.
#include <optional>
#include <string>

enum class AddressKind { Address, Search };

// "http://" anywhere marks an address; no dot, or a blank, marks a search.
AddressKind ClassifyAddressText(const std::string& text);
// The address as typed, or with "http://" in front when it names no scheme.
std::string AddressTarget(const std::string& text);
// The engine's search prefix, or nullopt for a value that names no engine.
std::optional<std::string> SearchPrefix(const std::string& engine);
// The typed words as one query value: "C# & .NET" must reach the engine whole.
std::string EncodeQueryText(const std::string& text);
