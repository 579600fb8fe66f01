#include "cli/JsonText.h"

#include <charconv>
#include <cmath>
#include <string>

namespace fixtally {

void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                static const char hex[] = "0123456789abcdef";
                out += "\\u00";
                out += hex[c >> 4];
                out += hex[c & 15];
            } else {
                out += char(c);
            }
        }
    }
    out += '"';
}

void AppendJsonNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, ec == std::errc() ? end : buffer);
}

void JsonObjectWriter::Key(std::string_view key) {
    if (!first_) out_ += ",";
    first_ = false;
    out_ += "\n";
    out_.append(static_cast<std::size_t>(indent_), ' ');
    AppendJsonString(out_, key);
    out_ += ": ";
}

void JsonObjectWriter::Number(std::string_view key, double value) {
    Key(key);
    AppendJsonNumber(out_, value);
}

void JsonObjectWriter::Integer(std::string_view key, long long value) {
    Key(key);
    out_ += std::to_string(value);
}

void JsonObjectWriter::Text(std::string_view key, std::string_view text) {
    Key(key);
    AppendJsonString(out_, text);
}

void JsonObjectWriter::Null(std::string_view key) {
    Key(key);
    out_ += "null";
}

} // namespace fixtally
