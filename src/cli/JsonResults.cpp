#include "cli/JsonResults.h"

#include "app/Program.h"
#include "cli/JsonText.h"

namespace fixtally {

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
