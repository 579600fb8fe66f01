#include "app/LogLoading.h"
#include "app/OutputRange.h"
#include "app/Program.h"
#include "app/ProgramTime.h"
#include "input/csv/CsvReader.h"
#include "input/nmea/NmeaReader.h"
#include "platform/HeadlessPlatform.h"
#include "stats/CountRange.h"
#include "stats/TimeText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace fixtally;
namespace fs = std::filesystem;

namespace {

int ReadLog(Program& program, const fs::path& path) {
    program.Log.LogFileName = path.string();
    if (path.extension() == ".pos") return ReadCsvLog(program, path.string());
    return ReadNmeaLog(program);
}

} // namespace

// Every real log: "Set" with the texts the load wrote must count exactly what "Reset"
// counts, in a date format with "/" and in one with "." (bounds of GPS-time logs shifted
// by the leap seconds carry parts of a millisecond).
TEST(CountRangeCorpus, SetWithTheLoadedTextsCountsTheFullRange) {
    const fs::path corpus = FIXTALLY_CORPUS;
    if (!fs::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
    int logs = 0;
    for (const char* folder : {"nmea", "pos"}) {
        if (!fs::is_directory(corpus / folder)) continue;
        for (const auto& entry : fs::directory_iterator(corpus / folder)) {
            for (const char* dateFormat : {"yyyy/mm/dd", "dd.mm.yyyy"}) {
                HeadlessPlatform ui;
                Program program(ui);
                program.Settings.DateFormat = dateFormat;
                if (ReadLog(program, entry.path()) <= 0) continue;
                ++logs;
                OutputRange& dialog = program.RangeDialog;
                const TimeRange full = program.FullRange;
                dialog.ButtonCancelClick(program);
                const std::string resetStatus = program.Main.LabelStatus;

                dialog.ButtonOKClick(program);
                EXPECT_EQ(program.CountRange.Start, full.Start) << entry.path() << dateFormat;
                EXPECT_EQ(program.CountRange.End, full.End) << entry.path() << dateFormat;
                EXPECT_EQ(program.Main.LabelStatus, resetStatus) << entry.path() << dateFormat;

                // A start typed in the same format is read, not replaced by the bound.
                const double middle = full.Start + (full.End - full.Start) / 2;
                if (full.End - full.Start < 2.0 / 86400) continue;
                dialog.EditStime = FormatFixTime(program, middle);
                dialog.ButtonOKClick(program);
                EXPECT_NEAR(program.CountRange.Start, middle, BoundTolerance)
                    << entry.path() << dateFormat;
            }
        }
    }
    EXPECT_GT(logs, 0);
}
