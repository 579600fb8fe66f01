#include "cli/CompareCommand.h"

#include "app/LogLoading.h"
#include "app/Program.h"
#include "app/ProgramSettings.h"
#include "cli/CliOptions.h"
#include "cli/Json.h"
#include "convert/Conversions.h"
#include "display/FixedText.h"
#include "display/ResultsDisplay.h"
#include "geodesy/Geodesic.h"
#include "platform/HeadlessPlatform.h"
#include "stats/Accuracy.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <memory>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace fixtally {

namespace {

// What one log's row shows.
struct CompareRow {
    std::string Path;
    bool Loaded = false;
    std::string Reason; // why the log did not load, or why nothing counted
    std::string Kind;
    long long Read = 0;
    long long InRange = 0;
    long long Accepted = 0;
    std::string PassText;   // as the report shows it: "100.0%"
    std::string SpreadText; // the report's horizontal 2drms or CEP(50%)
    double Spread = NaN;    // the same in metres, full precision
    AccuracyFigures Figures;
    GeoPoint Average;
    std::string LatitudeText, LongitudeText, AltitudeText; // as the report shows them
    double FromFirst = NaN; // metres from the first loaded log's average
    int ErrorDecimals = 5;
    std::vector<std::string> Messages; // message-box texts of the load
};

// One log's program with a platform of its own: nothing is shared between two of them.
struct CompareSlot {
    HeadlessPlatform Ui;
    Program P{Ui};
    CompareRow Row;
};

std::string KindOf(const Program& p) {
    if (p.Log.IsRtklibLog) return "RTKLIB";
    if (!p.Log.CsvProfile.empty()) return "CSV " + p.Log.CsvProfile;
    return "NMEA";
}

void LoadAndCount(CompareSlot& slot, const CliOptions& options) {
    Program& p = slot.P;
    CompareRow& row = slot.Row;
    const int loaded = LoadLogFile(p);
    if (loaded > 0 && options.HaveRange) {
        p.RangeDialog.EditStime = options.RangeStart;
        p.RangeDialog.EditEtime = options.RangeEnd;
        p.RangeDialog.ButtonOKClick(p);
    }
    for (const HeadlessPlatform::Message& m : slot.Ui.Messages) {
        std::string text = m.Text;
        while (!text.empty() && (text.front() == '\n' || text.front() == '\r')) text.erase(0, 1);
        row.Messages.push_back(text);
    }
    if (loaded <= 0) {
        row.Reason = std::string(TrimText(p.Main.StatusPanel0));
        return;
    }
    row.Loaded = true;
    row.Kind = KindOf(p);
    const CountTally& t = p.LastStatistics.Tally;
    row.Read = static_cast<long long>(p.Store.Count());
    row.InRange = t.InRange;
    row.Accepted = t.Accepted;
    row.ErrorDecimals = p.Main.ErrorDecimals;
    if (t.Accepted == 0) {
        row.Reason = p.Main.LabelStatus;
        return;
    }
    row.PassText = p.Main.tCenterEditDgpsP;
    row.SpreadText = std::string(TrimText(p.Main.tCenterEditH2drms));
    row.Spread = p.LastStatistics.Spread.Horizontal * (p.Settings.TwoDrms ? 1.0 : CepFactor);
    (void)ComputeAccuracy(p.FixErrors, row.Figures);
    row.Average = p.LastStatistics.Average;
    row.LatitudeText = p.Main.tCenterEditLatAve;
    row.LongitudeText = p.Main.tCenterEditLonAve;
    row.AltitudeText = p.Main.tCenterEditAltAve;
    // The samples are only wanted for the figures: give their memory back at once.
    p.FixErrors = FixErrorSamples{};
    p.Store.Clear();
}

void LoadAll(std::vector<std::unique_ptr<CompareSlot>>& slots, const CliOptions& options) {
    unsigned threads = options.Threads;
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    threads = std::min<unsigned>(threads, static_cast<unsigned>(slots.size()));
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i = next.fetch_add(1); i < slots.size(); i = next.fetch_add(1)) {
            try {
                LoadAndCount(*slots[i], options);
            } catch (const std::exception&) {
                slots[i]->Row = CompareRow{};
                slots[i]->Row.Reason = "not enough memory";
            }
        }
    };
    std::vector<std::thread> pool;
    for (unsigned i = 1; i < threads; ++i) {
        try {
            pool.emplace_back(work);
        } catch (const std::system_error&) {
            break; // fewer threads: this one takes what is left
        }
    }
    work();
    for (std::thread& thread : pool) thread.join();
}

std::string Number(double value) {
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, ec == std::errc() ? end : buffer);
}

std::string Metres(double value, int decimals) {
    return std::isnan(value) ? std::string("-") : FixedText(value, decimals) + "m";
}

// The text table: columns two spaces apart, numbers aligned right.
void WriteTable(const std::vector<CompareRow>& rows, bool twoDrms, std::ostream& out) {
    std::vector<std::vector<std::string>> cells;
    cells.push_back({"log", "kind", "fixes", "pass", twoDrms ? "2drms" : "CEP(50%)", "CEP50 emp.",
                     "CEP95 emp.", "vert. 95%", "average latitude", "average longitude", "altitude",
                     "from first", "note"});
    for (const CompareRow& r : rows) {
        const int d = r.ErrorDecimals;
        const bool counted = r.Loaded && r.Accepted > 0;
        std::vector<std::string> line{r.Path};
        if (!r.Loaded) {
            line.insert(line.end(), 11, "-");
        } else {
            line.push_back(r.Kind);
            line.push_back(std::to_string(r.Accepted) + "/" + std::to_string(r.Read));
            line.push_back(counted ? r.PassText : "-");
            line.push_back(counted ? r.SpreadText : "-");
            line.push_back(Metres(r.Figures.Cep50, d));
            line.push_back(Metres(r.Figures.Cep95, d));
            line.push_back(Metres(r.Figures.Vertical95, d));
            line.push_back(counted ? r.LatitudeText : "-");
            line.push_back(counted ? r.LongitudeText : "-");
            line.push_back(counted && !r.AltitudeText.empty() ? r.AltitudeText : "-");
            line.push_back(Metres(r.FromFirst, d));
        }
        line.push_back(r.Reason);
        cells.push_back(std::move(line));
    }
    const std::size_t columns = cells.front().size();
    std::vector<std::size_t> width(columns, 0);
    for (const auto& line : cells)
        for (std::size_t c = 0; c < columns; ++c) width[c] = std::max(width[c], line[c].size());
    // The log, kind and note columns read left to right; the figures line up on the right.
    auto leftAligned = [columns](std::size_t c) { return c < 2 || c + 1 == columns; };
    for (const auto& line : cells) {
        std::string text;
        for (std::size_t c = 0; c < columns; ++c) {
            if (c > 0) text += "  ";
            const std::size_t pad = width[c] - line[c].size();
            if (!leftAligned(c)) text.append(pad, ' ');
            text += line[c];
            if (leftAligned(c) && c + 1 < columns) text.append(pad, ' ');
        }
        while (!text.empty() && text.back() == ' ') text.pop_back();
        out << text << "\n";
    }
}

void AppendCsvField(std::string& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

std::string CsvNumber(double value) {
    return std::isnan(value) ? std::string() : Number(value);
}

void WriteCsv(const std::vector<CompareRow>& rows, bool twoDrms, std::ostream& out) {
    std::string text = "log,kind,fixes_accepted,records_read,records_in_range,pass_percent,"
                       "spread_kind,horizontal_spread_m,cep50_m,cep95_m,vertical95_m,"
                       "average_latitude_deg,average_longitude_deg,average_altitude_m,"
                       "from_first_m,error\r\n";
    for (const CompareRow& r : rows) {
        const double pass = r.InRange > 0 ? 100.0 * r.Accepted / r.InRange : NaN;
        const std::string fields[] = {
            r.Path,
            r.Kind,
            r.Loaded ? std::to_string(r.Accepted) : "",
            r.Loaded ? std::to_string(r.Read) : "",
            r.Loaded ? std::to_string(r.InRange) : "",
            CsvNumber(pass),
            twoDrms ? "2drms" : "CEP(50%)",
            CsvNumber(r.Spread),
            CsvNumber(r.Figures.Cep50),
            CsvNumber(r.Figures.Cep95),
            CsvNumber(r.Figures.Vertical95),
            CsvNumber(r.Average.Latitude),
            CsvNumber(r.Average.Longitude),
            CsvNumber(r.Average.Altitude),
            CsvNumber(r.FromFirst),
            r.Reason,
        };
        for (std::size_t i = 0; i < std::size(fields); ++i) {
            if (i > 0) text += ',';
            AppendCsvField(text, fields[i]);
        }
        text += "\r\n";
    }
    out << text;
}

void WriteJson(const std::vector<CompareRow>& rows, bool twoDrms, std::ostream& out) {
    Json list = Json::array();
    for (const CompareRow& r : rows) {
        Json w = Json::object();
        w["log"] = r.Path;
        w["loaded"] = r.Loaded;
        if (r.Loaded) {
            w["kind"] = r.Kind;
            w["fixes_accepted"] = r.Accepted;
            w["records_read"] = r.Read;
            w["records_in_range"] = r.InRange;
            w["pass_percent"] = r.InRange > 0 ? 100.0 * r.Accepted / r.InRange : NaN;
        }
        w["spread_kind"] = twoDrms ? "2drms" : "CEP(50%)";
        w["horizontal_spread_m"] = r.Spread;
        w["cep50_m"] = r.Figures.Cep50;
        w["cep95_m"] = r.Figures.Cep95;
        w["vertical95_m"] = r.Figures.Vertical95;
        w["average_latitude_deg"] = r.Average.Latitude;
        w["average_longitude_deg"] = r.Average.Longitude;
        w["average_altitude_m"] = r.Average.Altitude;
        w["from_first_m"] = r.FromFirst;
        w["error"] = r.Reason.empty() ? Json(nullptr) : Json(r.Reason);
        list.push_back(std::move(w));
    }
    out << JsonText(list) << "\n";
}

} // namespace

int RunCompare(const Program& base, const CliOptions& options, std::ostream& out,
               std::ostream& err) {
    std::vector<std::unique_ptr<CompareSlot>> slots;
    for (const std::string& path : options.CompareLogs) {
        auto slot = std::make_unique<CompareSlot>();
        Program& p = slot->P;
        p.Settings = base.Settings;
        p.Conventions = base.Conventions;
        p.Main.Caption = base.Main.Caption;
        ApplySettings(p);
        p.Log.ExpandMode = base.Log.ExpandMode;
        p.FixErrors.Keep = true;
        p.Log.LogFileName = path;
        slot->Row.Path = path;
        slots.push_back(std::move(slot));
    }
    LoadAll(slots, options);

    std::vector<CompareRow> rows;
    const GeoPoint* first = nullptr;
    for (auto& slot : slots) {
        CompareRow& row = slot->Row;
        if (!first && row.Accepted > 0) first = &row.Average;
        if (first && row.Accepted > 0)
            row.FromFirst = GeodesicDistance(first->Latitude, first->Longitude,
                                             row.Average.Latitude, row.Average.Longitude, 0, 0);
        for (const std::string& message : row.Messages) err << row.Path << ": " << message << "\n";
    }
    bool allLoaded = true;
    for (auto& slot : slots) {
        allLoaded = allLoaded && slot->Row.Loaded;
        rows.push_back(std::move(slot->Row));
    }
    const bool twoDrms = base.Settings.TwoDrms;
    if (options.Csv)
        WriteCsv(rows, twoDrms, out);
    else if (options.Json)
        WriteJson(rows, twoDrms, out);
    else
        WriteTable(rows, twoDrms, out);
    return allLoaded ? 0 : 1;
}

} // namespace fixtally
