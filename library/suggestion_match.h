#pragma once
// What a typed text matches among stored names and addresses: the text as the
// user sees it, ASCII letters ignoring case and every other character exactly.
#include <string>

// A LIKE pattern (with '\' as its escape) that finds every stored text that
// may show typed, and some that only seem to: characters U+0080..U+00FF stand
// as wildcards, because SQLite reads the stored Latin-1 bytes as broken UTF-8,
// and characters above are found through their stored escapes. Quotes are
// not doubled yet.
std::string SuggestionLikePattern(const std::string& typed);

// Whether shown contains typed (both UTF-8); an empty typed text is in every text.
bool ShowsTyped(const std::string& shown, const std::string& typed);
