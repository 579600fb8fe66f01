#pragma once

#include <string>
#include <string_view>

namespace fixtally {

// The pieces of fixtally-cli's JSON writer.

// text as a JSON string, quoted and escaped.
void AppendJsonString(std::string& out, std::string_view text);

// A number in the shortest form that reads back exactly; null for NaN and infinities.
void AppendJsonNumber(std::string& out, double value);

// Members of one JSON object written in turn: `"key": ` after a comma when it is not the
// first, each on its own line indented by indent spaces.
class JsonObjectWriter {
public:
    JsonObjectWriter(std::string& out, int indent) : out_(out), indent_(indent) {}

    void Number(std::string_view key, double value);
    void Integer(std::string_view key, long long value);
    void Text(std::string_view key, std::string_view text);
    void Null(std::string_view key);
    // The key and its separator; the caller writes the value.
    void Key(std::string_view key);

private:
    std::string& out_;
    int indent_;
    bool first_ = true;
};

} // namespace fixtally
