#include "cli/CliOptions.h"

#include <charconv>
#include <string_view>

namespace fixtally {

namespace {

// --compare prints one table: the outputs and exports of a single log do not go with it.
bool CompareOptionsValid(const CliOptions& o, std::string& error) {
    if (o.Report || o.Status || o.Accuracy || o.ExportTrack || o.ExportAverage ||
        !o.GraphPath.empty() || !o.TimePlotPath.empty()) {
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
    "  --set KEY=VALUE       set one setting by its INI key (repeatable)\n"
    "  --expand              expand mode (the /H switch)\n"
    "  --true LAT LON ALT    use these true coordinates as the reference\n"
    "  --range START END     set the count range after loading\n"
    "  --report              print the text report (default)\n"
    "  --status              print the two status-bar panels and the status label\n"
    "  --json                print every result field as one JSON object\n"
    "  --accuracy            print the empirical accuracy figures after the report\n"
    "  --export-track        save the track CSV (--with-error, --reduce DIST SECS)\n"
    "  --export-average SPAN STEP  save the averaged CSV (--limit M, --start T, --final T)\n"
    "  --graph PNG           write the scatter graph as PNG with its circles and a legend\n"
    "  --graph-plain PNG     write the scatter graph as the window shows it (311 x 316)\n"
    "  --timeplot PNG        write the error-over-time plot as PNG (--size WxH, default\n"
    "                        1200x800)\n"
    "  --yes                 overwrite existing output files\n"
    "  --compare LOG...      one row per log, all with the same settings (--ini, --set,\n"
    "                        --expand, --true, --range); as CSV with --csv, a JSON array\n"
    "                        with --json; exit code 1 when not every log loaded\n"
    "  --threads N           with --compare: load at most N logs at once (default: cores)\n";

bool ParseCliOptions(int argc, const char* const* argv, CliOptions& o, std::string& error) {
    int i = 1;
    auto take = [&](std::string& out, std::string_view option) {
        if (i + 1 >= argc) {
            error = std::string(option) + " needs a value";
            return false;
        }
        out = argv[++i];
        return true;
    };
    for (; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--ini") {
            std::string path;
            if (!take(path, a)) return false;
            o.IniPaths.push_back(path);
        } else if (a == "--set") {
            std::string kv;
            if (!take(kv, a)) return false;
            const std::size_t eq = kv.find('=');
            if (eq == std::string::npos || eq == 0) {
                error = "--set needs KEY=VALUE, got \"" + kv + "\"";
                return false;
            }
            o.Sets.emplace_back(kv.substr(0, eq), kv.substr(eq + 1));
        } else if (a == "--expand") {
            o.Expand = true;
        } else if (a == "--true") {
            if (!take(o.TrueLat, a) || !take(o.TrueLon, a) || !take(o.TrueAlt, a)) return false;
            o.UseTrue = true;
        } else if (a == "--range") {
            if (!take(o.RangeStart, a) || !take(o.RangeEnd, a)) return false;
            o.HaveRange = true;
        } else if (a == "--report") {
            o.Report = true;
        } else if (a == "--status") {
            o.Status = true;
        } else if (a == "--json") {
            o.Json = true;
        } else if (a == "--accuracy") {
            o.Accuracy = true;
        } else if (a == "--export-track") {
            o.ExportTrack = true;
        } else if (a == "--with-error") {
            o.WithError = true;
        } else if (a == "--reduce") {
            if (!take(o.ReduceDist, a) || !take(o.ReduceSecs, a)) return false;
            o.HaveReduce = true;
        } else if (a == "--export-average") {
            if (!take(o.AverageSpan, a) || !take(o.AverageStep, a)) return false;
            o.ExportAverage = true;
        } else if (a == "--limit") {
            if (!take(o.Limit, a)) return false;
            o.HaveLimit = true;
        } else if (a == "--start") {
            if (!take(o.AverageStart, a)) return false;
            o.HaveStart = true;
        } else if (a == "--final") {
            if (!take(o.AverageFinal, a)) return false;
            o.HaveFinal = true;
        } else if (a == "--graph" || a == "--graph-plain") {
            if (!take(o.GraphPath, a)) return false;
            o.GraphPlain = a == "--graph-plain";
        } else if (a == "--timeplot") {
            if (!take(o.TimePlotPath, a)) return false;
        } else if (a == "--size") {
            if (!take(o.Size, a)) return false;
            o.HaveSize = true;
        } else if (a == "--yes") {
            o.Yes = true;
        } else if (a == "--compare") {
            o.Compare = true;
        } else if (a == "--csv") {
            o.Csv = true;
        } else if (a == "--threads") {
            std::string n;
            if (!take(n, a)) return false;
            const auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), o.Threads);
            if (ec != std::errc() || end != n.data() + n.size() || o.Threads == 0) {
                error = "--threads needs a whole number above 0, got \"" + n + "\"";
                return false;
            }
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            error = "unknown option " + std::string(a);
            return false;
        } else if (o.LogPath.empty()) {
            o.LogPath = std::string(a);
            o.CompareLogs.push_back(o.LogPath);
        } else {
            o.CompareLogs.emplace_back(a);
        }
    }
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
    if (o.Compare) return CompareOptionsValid(o, error);
    return true;
}

} // namespace fixtally
