#include "input/csv/CsvSplit.h"

#include "convert/Conversions.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace fixtally {

std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

std::string_view NormaliseSeparators(std::string_view text, std::string& buffer) {
    text = TrimText(text);
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

namespace {

// The first comma in [p, end), or end; eight bytes at a time.
const char* FindComma(const char* p, const char* end) {
    constexpr std::uint64_t Commas = 0x2C2C2C2C2C2C2C2CULL;
    constexpr std::uint64_t Ones = 0x0101010101010101ULL;
    constexpr std::uint64_t Highs = 0x8080808080808080ULL;
    while (end - p >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        const std::uint64_t x = word ^ Commas;
        // The lowest flagged byte is the first zero byte of x, a comma.
        const std::uint64_t zero = (x - Ones) & ~x & Highs;
        if (zero != 0) return p + (std::countr_zero(zero) >> 3);
        p += 8;
    }
    while (p != end && *p != ',') ++p;
    return p;
}

} // namespace

int SplitCsvFields(std::string_view text, CsvFields& fields) {
    if (text.empty()) {
        fields.fill(std::string_view());
        return 0;
    }
    // The last field takes the rest, commas included.
    int i = 0;
    const char* const end = text.data() + text.size();
    const char* start = text.data();
    while (i < MaxCsvFields - 1) {
        const char* comma = FindComma(start, end);
        if (comma == end) break;
        fields[i++] = TrimText(std::string_view(start, static_cast<std::size_t>(comma - start)));
        start = comma + 1;
    }
    fields[i] = TrimText(std::string_view(start, static_cast<std::size_t>(end - start)));
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
