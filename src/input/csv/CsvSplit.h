#pragma once

#include "input/csv/CsvLayout.h"

#include <string>
#include <string_view>

namespace fixtally {

// Upper-cases the ASCII letters of a text.
std::string UpperAscii(std::string_view text);

// Trims the text; when it has no comma, turns every run of spaces into one comma
// (tabs are not separators). The result views either the text or the buffer.
std::string_view NormaliseSeparators(std::string_view text, std::string& buffer);
std::string NormaliseSeparators(std::string_view text);

// Splits at commas into at most MaxCsvFields trimmed fields (the last keeps any
// further commas) and returns their count; an empty text gives 0. Unused fields
// are empty. The fields view the text.
int SplitCsvFields(std::string_view text, CsvFields& fields);

// True when "," + word + "," occurs in "," + list + ",": the word is one item of
// the comma-separated list, compared exactly.
bool ListHasWord(std::string_view list, std::string_view word);

} // namespace fixtally
