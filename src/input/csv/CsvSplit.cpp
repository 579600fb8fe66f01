#include "input/csv/CsvSplit.h"

#include "convert/Conversions.h"
#include "input/csv/CsvNumber.h"

namespace fixtally {

std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

std::string_view NormaliseSeparators(std::string_view text, std::string& buffer) {
    text = TrimCsv(text);
    if (text.find(',') != std::string_view::npos) return text;
    buffer.clear();
    char previous = '\0';
    for (char c : text) {
        if (c == ' ') {
            if (previous != ' ') buffer.push_back(',');
        } else {
            buffer.push_back(c);
        }
        previous = c;
    }
    return buffer;
}

std::string NormaliseSeparators(std::string_view text) {
    std::string buffer;
    return std::string(NormaliseSeparators(text, buffer));
}

int SplitCsvFields(std::string_view text, CsvFields& fields) {
    if (text.empty()) {
        fields.fill(std::string_view());
        return 0;
    }
    // One pass over the text; the last field takes the rest, commas included.
    int i = 0;
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* start = begin;
    for (const char* at = begin; at != end && i < MaxCsvFields - 1; ++at) {
        if (*at != ',') continue;
        fields[i++] = TrimCsv(std::string_view(start, static_cast<std::size_t>(at - start)));
        start = at + 1;
    }
    fields[i] = TrimCsv(std::string_view(start, static_cast<std::size_t>(end - start)));
    for (int unused = i + 1; unused < MaxCsvFields; ++unused) fields[unused] = {};
    return i + 1;
}

bool ListHasWord(std::string_view list, std::string_view word) {
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = list.find(',', start);
        const std::size_t end = comma == std::string_view::npos ? list.size() : comma;
        if (list.substr(start, end - start) == word) return true;
        if (comma == std::string_view::npos) return false;
        start = comma + 1;
    }
}

} // namespace fixtally
