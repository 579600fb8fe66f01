// The real receiver logs of the shared corpus, when it is present: every log loads
// without a failure, and what it gives makes sense against the manifest's epoch count.

#include "NmeaReaderTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace fixtally {
namespace {

namespace fs = std::filesystem;

// path -> epochs, from the "N epochs" note of the manifest's last column.
std::map<std::string, int> ManifestEpochs(const fs::path& manifest) {
    std::map<std::string, int> epochs;
    std::ifstream in(manifest);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t tab = line.find('\t');
        const std::size_t at = line.find(" epochs");
        if (tab == std::string::npos || at == std::string::npos) continue;
        std::size_t start = at;
        while (start > 0 && std::isdigit(static_cast<unsigned char>(line[start - 1]))) --start;
        if (start == at) continue;
        epochs[line.substr(0, tab)] = std::stoi(line.substr(start, at - start));
    }
    return epochs;
}

// Logs with one clean epoch structure: one record per epoch.
const std::map<std::string, int>& ExactCounts() {
    static const std::map<std::string, int> counts = {
        {"nmea/gpsd_ais-nmea.log", 164},               // GP RMC+GGA+GSA among AIS sentences
        {"nmea/gpsd_ericsson-gru04-02-70sec.log", 71}, // GNS epochs, no RMC
        {"nmea/gpsd_furuno_gl_ga.log", 16},            // GN RMC+GGA+GNS, two GNGSA
        {"nmea/gpsd_telit-he910.log", 187},
        {"nmea/rtklib_0759_single_utc.nmea", 115},
        {"nmea/gpsd_april6_2019.log", 1},     // the RMC with date "2208-1" is ignored
        {"nmea/gpsd_GPSmap-76S.log", 0},      // simulator quality, void RMC
        {"nmea/gpsd_st-teseo-liv4f.log", 12}, // "$$" before every name
    };
    return counts;
}

TEST(NmeaReaderCorpus, EveryLogLoadsSensibly) {
    const fs::path corpus = FIXTALLY_CORPUS;
    if (!fs::is_directory(corpus / "nmea")) GTEST_SKIP() << "no corpus at " << corpus;
    const std::map<std::string, int> epochs = ManifestEpochs(corpus / "MANIFEST.tsv");

    int logs = 0, withRecords = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(corpus / "nmea")) {
        if (!entry.is_regular_file()) continue;
        const std::string rel = "nmea/" + entry.path().filename().string();
        SCOPED_TRACE(rel);
        ++logs;
        test::RecordingPlatform ui;
        Program p(ui);
        ui.program = &p;
        p.Log.LogFileName = entry.path().string();
        const int result = ReadNmeaLog(p);
        ASSERT_GE(result, 0) << p.Main.StatusPanel0;
        ASSERT_EQ(static_cast<std::size_t>(result), p.Store.Count());
        if (result > 0) ++withRecords;

        for (std::size_t i = 0; i < p.Store.Count(); ++i) {
            const FixRecord r = p.Store.At(i);
            ASSERT_FALSE(std::isnan(r.Latitude));
            ASSERT_FALSE(std::isnan(r.Longitude));
            ASSERT_LE(std::fabs(r.Latitude), 90.0);
            ASSERT_LE(std::fabs(r.Longitude), 180.0);
            ASSERT_NE(r.Time, 0.0);
            ASSERT_GE(r.Time, p.CountRange.Start - 1e-9);
            ASSERT_LE(r.Time, p.CountRange.End + 1e-9);
        }
        // A log that sends the same position sentence from two talkers in one epoch
        // (GPGGA and GLGGA) starts an epoch at each; no log gives more than that.
        const auto known = epochs.find(rel);
        if (known != epochs.end()) {
            EXPECT_LE(result, 3 * known->second + 2) << "manifest epochs " << known->second;
        }
        const auto exact = ExactCounts().find(rel);
        if (exact != ExactCounts().end()) {
            EXPECT_EQ(result, exact->second);
        }
    }
    EXPECT_GT(logs, 0);
    EXPECT_GT(withRecords, logs / 2);
}

} // namespace
} // namespace fixtally
