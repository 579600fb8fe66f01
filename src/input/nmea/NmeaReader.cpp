#include "input/nmea/NmeaReader.h"

#include "app/Program.h"
#include "display/ResultsDisplay.h"
#include "input/LogLineReader.h"
#include "input/ReadProgress.h"
#include "input/nmea/NmeaEpoch.h"
#include "input/nmea/NmeaSentence.h"
#include "stats/CountFixes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>

namespace fixtally {

namespace {

constexpr std::int64_t ProgressInterval = 2048;

std::string_view FileNameOf(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

void SetPanel0(Program& program, std::string_view name, std::string_view text) {
    std::string& panel = program.Main.StatusPanel0;
    panel.assign(" ");
    panel.append(name);
    panel.append(text);
}

// Counts, dates and times of the decoder start over for a pass.
void PreparePass(NmeaDecoder& d, const NmeaDateText& firstDate) {
    d.CurrentDate = firstDate;
    d.Epoch.RmcTime = d.Epoch.GgaTime = d.Epoch.GnsTime = 0;
    d.Epoch.GgaAltitude = d.Epoch.GnsAltitude = NaN;
    d.RmcCount = d.GgaCount = d.GnsCount = 0;
}

std::uint8_t CountByte(int count) {
    // Counts that do not fit a byte are not counts (255 = absent).
    return count >= 0 && count < 255 ? static_cast<std::uint8_t>(count) : 255;
}

FixRecord MakeRecord(const EpochFix& fix, const EpochValues& e, double time) {
    FixRecord r;
    r.Time = time;
    r.Latitude = fix.Latitude;
    r.Longitude = fix.Longitude;
    r.Altitude = e.AltitudeValid ? fix.Altitude : NaN;
    r.Hdop = fix.Hdop;
    r.Vdop = e.Vdop;
    r.Pdop = e.Pdop;
    r.Speed = fix.Speed;
    r.SatsUsed = CountByte(fix.Sats);
    r.FixQuality = e.Quality;
    int extra = e.SecondarySats == 255 ? 0 : e.SecondarySats;
    if (e.QzssSats < 255) extra += e.QzssSats;
    r.SatsExtra = extra == 0 ? 255 : CountByte(extra < 254 ? extra : 254);
    r.DgpsFlag = e.DgpsFlag;
    return r;
}

// Room for the records the log will give, judged from the check pass, so that a large
// log does not make the store grow by copying. The store grows on its own if the guess
// was short.
void ReserveStore(Program& program, const LogLineReader& reader, const NmeaDecoder& d) {
    const std::int64_t checked = reader.LogBytesConsumed();
    const std::int64_t size = reader.LogFileSize();
    const std::int64_t epochs =
        std::max({d.RmcNewEpochs, d.GgaNewEpochs, d.GnsNewEpochs, std::int64_t{0}}) + 1;
    if (checked <= 0 || size <= checked) return;
    const double perEpoch = static_cast<double>(checked) / static_cast<double>(epochs);
    const double guess = static_cast<double>(size) / perEpoch * 1.05 + 1024;
    const double most = static_cast<double>(size) / 32;
    program.Store.Reserve(static_cast<std::size_t>(std::min(guess, most)));
}

void WidenCountRange(TimeRange& range, double time, bool first) {
    if (first) {
        range.Start = range.End = time;
        return;
    }
    // An undated time never replaces a dated start.
    if (range.Start > time && (range.Start < 1 || time >= 1)) range.Start = time;
    if (time > range.End) range.End = time;
}

// The read pass, from the replaced store to the last epoch. False on an abort.
bool ReadPass(Program& program, LogLineReader& reader, NmeaDecoder& decoder,
              NmeaEpochAssembler& epochs, const NmeaDateText& firstDate, std::string_view name,
              std::int64_t& total) {
    LoadedLog& log = program.Log;
    // The first epoch starts from the log's first date, not from the last date the check
    // pass met: in a GGA-first log that crosses midnight early, that later date would put
    // the first fix a day ahead. LastFixTime still carries over from the check pass.
    PreparePass(decoder, firstDate);
    EpochFix fix;
    bool more = epochs.AssembleEpoch(fix);
    std::int64_t count = 0;
    while (more) {
        if (!std::isnan(fix.Latitude) && !std::isnan(fix.Longitude) && log.LastFixTime != 0) {
            WidenCountRange(program.CountRange, log.LastFixTime, count == 0);
            program.Store.Append(MakeRecord(fix, decoder.Epoch, log.LastFixTime));
            ++count;
            if (count % ProgressInterval == 0) {
                ShowReadingPercentage(program, name, reader.LogBytesRead(), reader.LogFileSize());
                ShowReadProgress(program, reader.LogBytesRead(), reader.LogFileSize());
                program.Ui.ProcessMessages();
                if (log.AbortRequested) return false;
            }
        }
        more = epochs.AssembleEpoch(fix);
    }
    total = count;
    return true;
}

} // namespace

int ReadNmeaLog(Program& program) {
    bool readPassDone = false;
    const int result = ReadNmeaPasses(program, readPassDone);
    if (readPassDone) {
        try {
            CountFixes(program);
        } catch (...) {
            return -1;
        }
    }
    return result;
}

int ReadNmeaPasses(Program& program, bool& readPassDone) {
    readPassDone = false;
    LoadedLog& log = program.Log;
    const std::string path = log.LogFileName;
    const std::string_view name = FileNameOf(path);

    ClearResults(program);
    ClearStatusBar(program);
    SetPanel0(program, name, "  Open NMEA file ...");
    program.Ui.ProcessMessages();

    LogLineReader reader;
    if (!reader.OpenLog(path)) {
        program.Main.StatusPanel0 = "  Can not open: " + std::string(name);
        return -1;
    }

    // Check pass: count the sentence types and how often each one's time changes.
    NmeaDecoder decoder;
    NmeaDateText firstDate;
    decoder.ReadPass = false;
    decoder.GnsMode = false;
    SetPanel0(program, name, "  Checking NMEA file ...");
    program.Ui.ProcessMessages();
    PreparePass(decoder, firstDate); // firstDate is still empty
    while (!reader.EndOfLog() && std::abs(decoder.RmcNewEpochs - decoder.GgaNewEpochs) <= 100 &&
           std::abs(decoder.RmcNewEpochs - decoder.GnsNewEpochs) <= 100) {
        const int type = ParseNmeaLine(reader.ReadLogLine(), decoder, log);
        if (type > 0) {
            log.LastFixTime = decoder.Epoch.RmcTime;
            if (firstDate.Empty()) firstDate = decoder.CurrentDate;
        }
        if (log.AbortRequested) return -1;
    }
    if (reader.ReadFailed()) return -1;

    decoder.GnsMode = GnsModeFromCounts(decoder);
    const int leadingType = LeadingTypeFromCounts(decoder);
    std::string& panel1 = program.Main.StatusPanel1;
    panel1.assign(" ");
    panel1.append(NmeaModeText(decoder, leadingType));
    program.Ui.ProcessMessages();
    if (decoder.RmcCount == 0 && decoder.GgaCount == 0 && decoder.GnsCount == 0) return 0;

    SetPanel0(program, name, "  Reading .");
    try {
        decoder.ReadPass = true;
        program.Store.Replace();
        ReserveStore(program, reader, decoder);
        reader.RewindLog();
        NmeaEpochAssembler epochs(reader, decoder, log);
        epochs.LeadingType = leadingType;
        std::int64_t total = 0;
        // An abort or a read error leaves an empty store, not part of the log.
        if (!ReadPass(program, reader, decoder, epochs, firstDate, name, total) ||
            reader.ReadFailed()) {
            program.Store.Clear();
            return -1;
        }

        panel1.append("  ");
        char digits[24];
        const auto r = std::to_chars(digits, digits + sizeof digits, total);
        panel1.append(digits, r.ptr);
        panel1.append("rec.");
        ShowReadProgress(program, reader.LogBytesRead(), reader.LogFileSize());

        PublishLogRange(program);
        log.LogPosDecimals = std::clamp(log.LogPosDecimals - 1, 3, 9);
        reader.CloseLog();
        readPassDone = true;
        return total > INT32_MAX ? INT32_MAX : static_cast<int>(total);
    } catch (...) {
        // Out of memory for the store, or a failure further on: the load fails.
        program.Store.Clear();
        return -1;
    }
}

} // namespace fixtally
