#pragma once

#include <string>
#include <utility>
#include <vector>

namespace fixtally {

// The command line of fixtally-cli, parsed but not yet applied.
struct CliOptions {
    std::string LogPath;
    bool Compare = false;
    std::vector<std::string> CompareLogs; // every log given, with --compare
    bool Csv = false;
    unsigned Threads = 0; // logs loaded at once by --compare; 0: one per core
    std::vector<std::string> IniPaths;
    std::vector<std::pair<std::string, std::string>> Sets; // KEY, VALUE
    bool Expand = false;
    bool UseTrue = false;
    std::string TrueLat, TrueLon, TrueAlt;
    bool HaveRange = false;
    std::string RangeStart, RangeEnd;
    bool Report = false;
    bool Status = false;
    bool Json = false;
    bool Accuracy = false;
    bool ExportTrack = false;
    bool WithError = false;
    bool HaveReduce = false;
    std::string ReduceDist, ReduceSecs;
    bool ExportAverage = false;
    std::string AverageSpan, AverageStep;
    bool HaveLimit = false;
    std::string Limit;
    bool HaveStart = false, HaveFinal = false;
    std::string AverageStart, AverageFinal;
    std::string GraphPath;
    std::string PdfPath;
    bool GraphPlain = false; // --graph-plain: the window's picture without legend
    std::string TimePlotPath;
    bool HaveSize = false;
    std::string Size; // WxH of the time plot
    bool Yes = false;
    bool Help = false;    // --help or -h: the usage, nothing else
    bool Version = false; // --version: the version, nothing else
};

// Parses argv[1..]; on failure returns false with a one-line reason. Option values
// that must be numbers or coordinates and do not convert are failures that name the
// option and the value.
bool ParseCliOptions(int argc, const char* const* argv, CliOptions& options, std::string& error);

extern const char* const CliUsage;

} // namespace fixtally
