#include "cli/CliOptions.h"

#include "convert/Conversions.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <string_view>
#include <system_error>
#include <vector>

namespace fixtally {

namespace {

// --compare prints one table: the outputs and exports of a single log do not go with it.
bool CompareOptionsValid(const CliOptions& o, std::string& error) {
    if (o.Report || o.Status || o.Accuracy || o.ExportTrack || o.ExportAverage ||
        !o.GraphPath.empty() || !o.TimePlotPath.empty() || !o.PdfPath.empty()) {
        error = "--compare prints its table only (--csv or --json choose its form)";
        return false;
    }
    if (o.Csv && o.Json) {
        error = "--csv and --json do not go together";
        return false;
    }
    return true;
}

} // namespace

const char* const CliUsage =
    "usage: fixtally-cli LOG [options]\n"
    "       fixtally-cli --compare LOG LOG... [--csv | --json] [--threads N] [settings]\n"
    "  --ini PATH            read settings from an INI file (never written)\n"
    "  --set KEY=VALUE       set one setting by its INI key (repeatable); numeric keys\n"
    "                        (HDOPlim, CSVspan, PosDecimal ...) need a number\n"
    "  --expand              expand mode (the /H switch)\n"
    "  --true LAT LON ALT    use these true coordinates as the reference: latitude and\n"
    "                        longitude in degrees (35.68, \"35 40 52.4N\"), altitude in\n"
    "                        metres; also one word LAT,LON,ALT\n"
    "  --range START END     set the count range after loading, as the count-range\n"
    "                        dialog does: times in the date format in use, clamped to\n"
    "                        the log; a time that does not read means the log's own\n"
    "                        start or end\n"
    "  --report              print the text report (default)\n"
    "  --status              print the two status-bar panels and the status label\n"
    "  --json                print every result field as one JSON object\n"
    "  --accuracy            print the empirical accuracy figures after the report\n"
    "  --export-track        save the track CSV beside the log: the log's name with\n"
    "                        .csv for its extension (NAME_s.csv for a NAME.csv log)\n"
    "    --with-error        add the error columns\n"
    "    --reduce DIST SECS  keep a fix after DIST metres moved or SECS seconds passed\n"
    "                        (at least 1 m and 0.1 s), instead of every fix\n"
    "  --export-average SPAN STEP  save window averages beside the log as\n"
    "                        NAME-SPANhSTEPh.csv; SPAN and STEP in hours\n"
    "    --limit M           leave out fixes more than M metres from the average (the\n"
    "                        name ends in Mm.csv)\n"
    "    --start T           first window start (a time as the log's times show)\n"
    "    --final T           last window end\n"
    "  --graph FILE          write the scatter graph as PNG with its circles and a legend\n"
    "  --graph-plain FILE    write the scatter graph as the window shows it (311 x 316\n"
    "                        pixels, 311 x 311 in monotone mode)\n"
    "  --timeplot FILE       write the error-over-time plot as PNG (--size WxH in pixels,\n"
    "                        default 1200x800)\n"
    "  --pdf FILE            write the printed report with the graph as an A4 PDF\n"
    "  --yes                 replace existing output files; the log is never replaced\n"
    "  --compare LOG...      one row per log, all with the same settings (--ini, --set,\n"
    "                        --expand, --true, --range); as CSV with --csv, a JSON array\n"
    "                        with --json; exit code 1 when not every log loaded\n"
    "  --threads N           with --compare: load at most N logs at once (default: cores)\n"
    "  --help, -h            print this text; --version prints the version\n"
    "Output files are written whole or not at all: a failed write leaves an existing\n"
    "file as it was.\n"
    "Exit codes: 0 done; 1 the log did not load; 2 bad command line or option value;\n"
    "3 an export was refused or failed; 4 the log loaded but no fix could be counted\n"
    "(\"***** no effective data *****\"); 3 wins over 4.\n";

namespace {

// How the value of a setting that holds text must read.
enum class ValueForm { Any, Decimal, Integer, Coordinate, Altitude };

// The text settings that hold numbers; the program reads them with the conversions of
// the options dialog, which replace a text that does not read with a default.
ValueForm SettingValueForm(std::string_view key) {
    struct Entry {
        std::string_view Key;
        ValueForm Form;
    };
    static constexpr Entry Forms[] = {
        {"HDOPlim", ValueForm::Decimal},      {"VDOPlim", ValueForm::Decimal},
        {"PDOPlim", ValueForm::Decimal},      {"CSVspan", ValueForm::Decimal},
        {"CSVstep", ValueForm::Decimal},      {"CSVherr", ValueForm::Decimal},
        {"ElapsesTimes", ValueForm::Decimal}, {"MovingDist", ValueForm::Decimal},
        {"GPixels", ValueForm::Integer},      {"MiniColor", ValueForm::Integer},
        {"MaxColor", ValueForm::Integer},     {"PosDecimal", ValueForm::Integer},
        {"AltDecimal", ValueForm::Integer},   {"ErrorDecimal", ValueForm::Integer},
        {"DopDecimal", ValueForm::Integer},   {"LatLon", ValueForm::Integer},
        {"Alt", ValueForm::Integer},          {"Speed", ValueForm::Integer},
        {"DOP", ValueForm::Integer},          {"Error", ValueForm::Integer},
        {"TrueLat", ValueForm::Coordinate},   {"TrueLon", ValueForm::Coordinate},
        {"TrueAlt", ValueForm::Altitude},
    };
    for (const Entry& entry : Forms)
        if (EqualsIgnoringCase(entry.Key, key)) return entry.Form;
    return ValueForm::Any;
}

bool ReadsAsInteger(std::string_view text) {
    text = TrimText(text);
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) text.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

bool Reads(ValueForm form, std::string_view text) {
    switch (form) {
    case ValueForm::Any:
        return true;
    case ValueForm::Decimal:
        return std::isfinite(TextToFloat(text));
    case ValueForm::Integer:
        return ReadsAsInteger(text);
    case ValueForm::Coordinate:
        return !std::isnan(CoordinateFromText(text));
    case ValueForm::Altitude:
        return !std::isnan(AltitudeFromText(text));
    }
    return true;
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// The values that would otherwise be replaced by a default without a word. What the
// dialogs refuse themselves (a limit that is not positive, a time out of range) stays
// theirs to refuse, with their message.
bool CheckOptionValues(const CliOptions& o, std::string& error) {
    struct Check {
        bool Given;
        const char* What;
        ValueForm Form;
        const std::string& Value;
        const char* Meaning;
    };
    const Check checks[] = {
        {o.UseTrue, "--true latitude", ValueForm::Coordinate, o.TrueLat, "a coordinate"},
        {o.UseTrue, "--true longitude", ValueForm::Coordinate, o.TrueLon, "a coordinate"},
        {o.UseTrue, "--true altitude", ValueForm::Altitude, o.TrueAlt, "a height in metres"},
        {o.HaveReduce, "--reduce distance", ValueForm::Decimal, o.ReduceDist, "a number of metres"},
        {o.HaveReduce, "--reduce time", ValueForm::Decimal, o.ReduceSecs, "a number of seconds"},
        {o.ExportAverage, "--export-average span", ValueForm::Decimal, o.AverageSpan,
         "a number of hours"},
        {o.ExportAverage, "--export-average step", ValueForm::Decimal, o.AverageStep,
         "a number of hours"},
    };
    for (const Check& check : checks) {
        if (!check.Given || Reads(check.Form, check.Value)) continue;
        error = std::string(check.What) + " " + Quoted(check.Value) + " is not " + check.Meaning;
        return false;
    }
    for (const auto& [key, value] : o.Sets) {
        const ValueForm form = SettingValueForm(key);
        if (Reads(form, value)) continue;
        const char* meaning = form == ValueForm::Integer      ? "a whole number"
                              : form == ValueForm::Coordinate ? "a coordinate"
                              : form == ValueForm::Altitude   ? "a height in metres"
                                                              : "a number";
        error = "--set " + key + " " + Quoted(value) + " is not " + meaning;
        return false;
    }
    return true;
}

} // namespace

namespace {

// The values of an option that takes several (--true LAT LON ALT): CLI11 hands them over
// in the order given; the last use of the option wins.
bool Assign(const CLI::Option& option, const std::vector<std::string>& values,
            std::initializer_list<std::string*> to, bool& given, std::string& error) {
    if (option.count() == 0) return true;
    if (values.size() != to.size()) {
        error = option.get_name() + " needs " + std::to_string(to.size()) + " values";
        return false;
    }
    std::size_t i = 0;
    for (std::string* out : to) *out = values[i++];
    given = true;
    return true;
}

// The command line with "--true LAT,LON,ALT" (or --true=LAT,LON,ALT) written as three
// words: a coordinate text never holds a comma, so a word with exactly two of them after
// --true is the three.
std::vector<std::string> SplitTrueCoordinates(int argc, const char* const* argv) {
    std::vector<std::string> words(argv, argv + argc);
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (words[i].rfind("--true=", 0) == 0) {
            words.insert(words.begin() + static_cast<std::ptrdiff_t>(i) + 1, words[i].substr(7));
            words[i] = "--true";
        }
        if (words[i] != "--true" || i + 1 >= words.size() ||
            std::count(words[i + 1].begin(), words[i + 1].end(), ',') != 2)
            continue;
        const std::string joined = words[i + 1];
        const std::size_t first = joined.find(','), second = joined.find(',', first + 1);
        words[i + 1] = joined.substr(0, first);
        words.insert(words.begin() + static_cast<std::ptrdiff_t>(i) + 2,
                     {joined.substr(first + 1, second - first - 1), joined.substr(second + 1)});
        i += 3;
    }
    return words;
}

// Which options go with which, and what --compare leaves out; CLI11 only reads the
// words.
bool CheckCombinations(CliOptions& o, std::string& error) {
    if (o.LogPath.empty()) {
        error = "no log given";
        return false;
    }
    if (!o.Compare && o.CompareLogs.size() > 1) {
        error = "more than one log given: " + o.CompareLogs[1];
        return false;
    }
    if (!o.Compare && (o.Csv || o.Threads != 0)) {
        error = "--csv and --threads belong to --compare";
        return false;
    }
    if (o.WithError && !o.ExportTrack) {
        error = "--with-error belongs to --export-track";
        return false;
    }
    if (o.HaveReduce && !o.ExportTrack) {
        error = "--reduce belongs to --export-track";
        return false;
    }
    if ((o.HaveLimit || o.HaveStart || o.HaveFinal) && !o.ExportAverage) {
        error = "--limit, --start and --final belong to --export-average";
        return false;
    }
    if (o.HaveSize && o.TimePlotPath.empty()) {
        error = "--size belongs to --timeplot";
        return false;
    }
    return !o.Compare || CompareOptionsValid(o, error);
}

} // namespace

bool ParseCliOptions(int argc, const char* const* argv, CliOptions& o, std::string& error) {
    CLI::App app{"fixtally-cli"};
    // The usage is CliUsage, printed by the caller: CLI11's own help flag is not used.
    app.set_help_flag();
    // One value per use; given again, the last use wins.
    auto single = [&app](const char* name, std::string& value, const char* what) {
        return app.add_option(name, value)->type_name(what)->take_last();
    };
    // Several values in one use (--true LAT LON ALT); given again, the last use wins.
    auto several = [&app](const char* name, std::vector<std::string>& values, int count) {
        return app.add_option(name, values)->expected(count)->allow_extra_args(false)->take_last();
    };
    // Repeatable, one value per use.
    auto repeated = [&app](const char* name, std::vector<std::string>& values, const char* what) {
        return app.add_option(name, values)->type_name(what)->allow_extra_args(false);
    };
    std::vector<std::string> sets, trueValues, rangeValues, reduceValues, averageValues;
    std::string threads, graph, graphPlain;
    repeated("--ini", o.IniPaths, "PATH");
    repeated("--set", sets, "KEY=VALUE");
    const CLI::Option* trueOption = several("--true", trueValues, 3);
    const CLI::Option* range = several("--range", rangeValues, 2);
    const CLI::Option* reduce = several("--reduce", reduceValues, 2);
    const CLI::Option* average = several("--export-average", averageValues, 2);
    const CLI::Option* limit = single("--limit", o.Limit, "M");
    const CLI::Option* start = single("--start", o.AverageStart, "T");
    const CLI::Option* final = single("--final", o.AverageFinal, "T");
    const CLI::Option* graphOption = single("--graph", graph, "FILE");
    const CLI::Option* graphPlainOption = single("--graph-plain", graphPlain, "FILE");
    single("--timeplot", o.TimePlotPath, "FILE");
    const CLI::Option* size = single("--size", o.Size, "WxH");
    single("--pdf", o.PdfPath, "FILE");
    const CLI::Option* threadsOption = single("--threads", threads, "N");
    const std::pair<const char*, bool*> flags[] = {
        {"--expand", &o.Expand},        {"--report", &o.Report},
        {"--status", &o.Status},        {"--json", &o.Json},
        {"--accuracy", &o.Accuracy},    {"--export-track", &o.ExportTrack},
        {"--with-error", &o.WithError}, {"--yes", &o.Yes},
        {"--compare", &o.Compare},      {"--csv", &o.Csv},
        {"-h,--help", &o.Help},         {"--version", &o.Version},
    };
    for (const auto& [name, value] : flags) app.add_flag(name, *value);
    app.add_option("LOG", o.CompareLogs);

    const std::vector<std::string> words = SplitTrueCoordinates(argc, argv);
    std::vector<const char*> wordPointers;
    for (const std::string& word : words) wordPointers.push_back(word.c_str());
    try {
        app.parse(static_cast<int>(wordPointers.size()), wordPointers.data());
    } catch (const CLI::ParseError& e) {
        error = e.what();
        return false;
    }
    if (o.Help || o.Version) return true;

    for (const std::string& kv : sets) {
        const std::size_t eq = kv.find('=');
        if (eq == std::string::npos || eq == 0) {
            error = "--set needs KEY=VALUE, got \"" + kv + "\"";
            return false;
        }
        o.Sets.emplace_back(kv.substr(0, eq), kv.substr(eq + 1));
    }
    if (!Assign(*trueOption, trueValues, {&o.TrueLat, &o.TrueLon, &o.TrueAlt}, o.UseTrue, error) ||
        !Assign(*range, rangeValues, {&o.RangeStart, &o.RangeEnd}, o.HaveRange, error) ||
        !Assign(*reduce, reduceValues, {&o.ReduceDist, &o.ReduceSecs}, o.HaveReduce, error) ||
        !Assign(*average, averageValues, {&o.AverageSpan, &o.AverageStep}, o.ExportAverage, error))
        return false;
    o.HaveLimit = limit->count() > 0;
    o.HaveStart = start->count() > 0;
    o.HaveFinal = final->count() > 0;
    o.HaveSize = size->count() > 0;
    if (graphOption->count() > 0 && graphPlainOption->count() > 0) {
        error = "--graph and --graph-plain do not go together";
        return false;
    }
    o.GraphPlain = graphPlainOption->count() > 0;
    o.GraphPath = o.GraphPlain ? graphPlain : graph;
    if (threadsOption->count() > 0) {
        const auto [end, ec] =
            std::from_chars(threads.data(), threads.data() + threads.size(), o.Threads);
        if (ec != std::errc() || end != threads.data() + threads.size() || o.Threads == 0) {
            error = "--threads needs a whole number above 0, got \"" + threads + "\"";
            return false;
        }
    }
    if (!o.CompareLogs.empty()) o.LogPath = o.CompareLogs.front();
    return CheckCombinations(o, error) && CheckOptionValues(o, error);
}

} // namespace fixtally
