#include "cli/JsonResults.h"

#include "app/Program.h"
#include "cli/JsonText.h"

#include <charconv>
#include <cmath>

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

namespace {

void AppendMember(std::string& out, std::string_view key, std::string_view text) {
    if (out.size() > 1) out += ",";
    out += "\n  ";
    AppendJsonString(out, key);
    out += ": ";
    AppendJsonString(out, text);
}

} // namespace

std::string JsonResults(const Program& program, std::string_view moreMembers) {
    const MainWindowModel& main = program.Main;
    std::string out = "{";
    for (const ResultField& field : ResultFields()) AppendMember(out, field.Name, main.*field.Text);
    AppendMember(out, "GroupBox2drms", main.GroupBox2drms);
    AppendMember(out, "LabelDgps", main.LabelDgps);
    AppendMember(out, "LabelFS", program.Graph.LabelFS);
    AppendMember(out, "StatusPanel0", main.StatusPanel0);
    AppendMember(out, "StatusPanel1", main.StatusPanel1);
    AppendMember(out, "LabelStatus", main.LabelStatus);
    AppendMember(out, "CsvProfile", program.Log.CsvProfile);
    out += ",\n  \"RecordCount\": " + std::to_string(program.Store.Count());
    const GeoPoint& ref = program.Results.ReferencePoint;
    out += ",\n  \"ReferencePoint\": {\"Latitude\": ";
    AppendJsonNumber(out, ref.Latitude);
    out += ", \"Longitude\": ";
    AppendJsonNumber(out, ref.Longitude);
    out += ", \"Altitude\": ";
    AppendJsonNumber(out, ref.Altitude);
    out += ", \"UseTrueReference\": ";
    out += program.Results.UseTrueReference ? "true" : "false";
    out += "}";
    out += moreMembers;
    out += "\n}";
    return out;
}

} // namespace fixtally
