#include "input/csv/CsvHeader.h"

#include "convert/Conversions.h"
#include "fixdata/LoadedLog.h"
#include "input/LogLineReader.h"
#include "input/csv/CsvProfiles.h"
#include "input/csv/CsvSplit.h"
#include "input/csv/RtklibForms.h"

namespace fixtally {

namespace {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    std::size_t at = text.find(from);
    while (at != std::string::npos) {
        text.replace(at, from.size(), to);
        at = text.find(from, at + to.size());
    }
}

} // namespace

UpperAliasLists PrepareAliasLists(const Settings::CsvItemSection& items) {
    UpperAliasLists lists;
    for (int role = 0; role < CsvRoleCount; ++role) {
        lists[role] = UpperAscii(AliasList(items, static_cast<CsvRole>(role)));
    }
    return lists;
}

bool AnalyseHeaderLine(std::string_view line, const UpperAliasLists& aliases, ColumnMap& map) {
    std::string text = UpperAscii(line);
    map.Form = HeaderPlain;
    if (!text.empty() && text.front() == '%') {
        text.erase(0, 1);
        map.Form = HeaderPercent;
    }
    const std::size_t spacedDate = text.find("*YYYY MM DD");
    if (spacedDate != std::string::npos) {
        text.replace(spacedDate, 11, "YYYY/MM/DD");
        ReplaceAll(text, " (", "(");
        map.Form = HeaderSpacedDate;
    }
    std::string buffer;
    text = std::string(NormaliseSeparators(text, buffer));
    while (text.find(", ") != std::string::npos) ReplaceAll(text, ", ", ",");
    while (text.find(" ,") != std::string::npos) ReplaceAll(text, " ,", ",");

    CsvFields fields;
    map.FieldCount = SplitCsvFields(text, fields);
    for (int b = 0; b < MaxCsvFields; ++b) map.HeaderFields[b].assign(fields[b]);

    // Only the header line decides the time system, not a comment line before it.
    map.Positions.fill(0);
    map.Gpst = false;
    map.Jst = false;
    for (int b = 0; b < map.FieldCount; ++b) {
        const std::string_view field = map.HeaderFields[b];
        for (int role = 0; role < CsvRoleCount; ++role) {
            if (!ListHasWord(aliases[role], field)) continue;
            map.Positions[role] = b + 1;
            if (static_cast<CsvRole>(role) == CsvRole::Date) {
                map.Gpst = field == "GPST";
                map.Jst = field == "JST";
            }
        }
    }
    return map.Has(CsvRole::Latitude) && map.Has(CsvRole::Longitude);
}

bool AnalyseCsvHeader(LogLineReader& reader, const Settings& settings, LoadedLog& log,
                      ColumnMap& map, ProfileParams& params) {
    const UpperAliasLists aliases = PrepareAliasLists(settings.CSVitem);
    int attempts = 35;
    bool recognised = false;
    bool rtklibTitle = false;
    map.FieldCount = 0;
    while (!recognised && !rtklibTitle && !reader.EndOfLog() && attempts > 0) {
        std::string_view line = reader.ReadLogLine();
        while (!reader.EndOfLog() && TrimText(line).empty()) line = reader.ReadLogLine();
        recognised = AnalyseHeaderLine(line, aliases, map);
        rtklibTitle = ExamineRtklibHeaderLine(line, map.Rtklib);
        --attempts;
    }
    // The RTKLIB forms other than latitude/longitude in degrees have no columns the alias
    // lists know: they are read through the plain form, with the RTKLIB profile.
    const bool otherRtklibForm = !recognised && rtklibTitle && RtklibLayoutReadable(map.Rtklib);
    if (otherRtklibForm) {
        SetPlainRtklibColumns(map);
        recognised = true;
    } else if (!rtklibTitle) {
        map.Rtklib = RtklibLayout{};
    }
    map.ProfileName = otherRtklibForm
                          ? std::string("RTKLIB")
                          : ChooseProfile(settings, map.HeaderFields, map.FieldCount, params);
    if (otherRtklibForm) params = LoadProfileParams(settings, map.ProfileName);
    log.IsRtklibLog = map.ProfileName == "RTKLIB";
    if (log.IsRtklibLog && map.Has(CsvRole::NS)) {
        map[CsvRole::Nsat] = map[CsvRole::NS];
        map[CsvRole::NS] = 0;
    }
    return recognised;
}

std::string UnknownHeaderText(const ColumnMap& map, std::string_view name) {
    const std::string_view rtklib = RtklibRefusalText(map.Rtklib);
    std::string text(rtklib.empty() ? std::string_view("  Unknown CSV log file : ") : rtklib);
    return text.append(name);
}

} // namespace fixtally
