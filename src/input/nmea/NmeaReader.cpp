#include "input/nmea/NmeaReader.h"

#include "input/LogLineReader.h"
#include "input/nmea/NmeaEpoch.h"
#include "input/nmea/NmeaSentence.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>

namespace fixtally {

namespace {

constexpr std::int64_t ProgressInterval = 2048;

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
void ReserveStore(FixStore& store, const LogLineReader& reader, const NmeaDecoder& d) {
    const std::int64_t checked = reader.LogBytesConsumed();
    const std::int64_t size = reader.LogFileSize();
    const std::int64_t epochs =
        std::max({d.RmcNewEpochs, d.GgaNewEpochs, d.GnsNewEpochs, std::int64_t{0}}) + 1;
    if (checked <= 0 || size <= checked) return;
    const double perEpoch = static_cast<double>(checked) / static_cast<double>(epochs);
    const double guess = static_cast<double>(size) / perEpoch * 1.05 + 1024;
    const double most = static_cast<double>(size) / 32;
    store.Reserve(static_cast<std::size_t>(std::min(guess, most)));
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
bool ReadPass(LogLineReader& reader, NmeaDecoder& decoder, NmeaEpochAssembler& epochs,
              const NmeaDateText& firstDate, ReadObserver& observer, FixStore& store,
              LoadResult& result) {
    LoadedLog& log = result.Log;
    // The first epoch starts from the log's first date, not from the last date the check
    // pass met: in a GGA-first log that crosses midnight early, that later date would put
    // the first fix a day ahead. LastFixTime still carries over from the check pass.
    PreparePass(decoder, firstDate);
    EpochFix fix;
    bool more = epochs.AssembleEpoch(fix);
    std::int64_t& count = result.Records;
    while (more) {
        if (!std::isnan(fix.Latitude) && !std::isnan(fix.Longitude) && log.LastFixTime != 0) {
            WidenCountRange(result.Range, log.LastFixTime, count == 0);
            result.RangeFound = true;
            store.Append(MakeRecord(fix, decoder.Epoch, log.LastFixTime));
            ++count;
            if (count % ProgressInterval == 0 &&
                !observer.Progress(reader.LogBytesRead(), reader.LogFileSize()))
                return false;
        } else {
            ++result.Skipped;
        }
        more = epochs.AssembleEpoch(fix);
    }
    return true;
}

} // namespace

LoadResult ReadNmeaLog(std::string_view path, const ReadOptions& options, ReadObserver& observer,
                       FixStore& store) {
    LoadResult result = StartLoadResult(path, options);
    LoadedLog& log = result.Log;

    observer.StageBegun(ReadStage::Opening);
    LogLineReader reader;
    if (!reader.OpenLog(log.LogFileName)) {
        result.Outcome = LoadOutcome::CannotOpen;
        return result;
    }

    // Check pass: count the sentence types and how often each one's time changes.
    NmeaDecoder decoder;
    NmeaDateText firstDate;
    decoder.ReadPass = false;
    decoder.GnsMode = false;
    observer.StageBegun(ReadStage::Checking);
    PreparePass(decoder, firstDate); // firstDate is still empty
    while (!reader.EndOfLog() && std::abs(decoder.RmcNewEpochs - decoder.GgaNewEpochs) <= 100 &&
           std::abs(decoder.RmcNewEpochs - decoder.GnsNewEpochs) <= 100) {
        const int type = ParseNmeaLine(reader.ReadLogLine(), decoder, log);
        if (type > 0) {
            log.LastFixTime = decoder.Epoch.RmcTime;
            if (firstDate.Empty()) firstDate = decoder.CurrentDate;
        }
        if (observer.AbortRequested()) {
            result.Outcome = LoadOutcome::Aborted;
            return result;
        }
    }
    if (reader.ReadFailed()) {
        result.Outcome = LoadOutcome::Failed;
        return result;
    }

    decoder.GnsMode = GnsModeFromCounts(decoder);
    const int leadingType = LeadingTypeFromCounts(decoder);
    result.ModeText = NmeaModeText(decoder, leadingType);
    observer.ModeFound(result.ModeText);
    if (decoder.RmcCount == 0 && decoder.GgaCount == 0 && decoder.GnsCount == 0) {
        result.Outcome = LoadOutcome::NoData;
        return result;
    }

    observer.StageBegun(ReadStage::Reading);
    try {
        decoder.ReadPass = true;
        store.Replace();
        result.StoreReplaced = true;
        ReserveStore(store, reader, decoder);
        reader.RewindLog();
        NmeaEpochAssembler epochs(reader, decoder, log);
        epochs.LeadingType = leadingType;
        // An abort or a read error leaves an empty store, not part of the log.
        const bool completed =
            ReadPass(reader, decoder, epochs, firstDate, observer, store, result);
        if (!completed || reader.ReadFailed()) {
            store.Clear();
            result.Outcome = completed ? LoadOutcome::Failed : LoadOutcome::Aborted;
            return result;
        }
        result.BytesRead = reader.LogBytesRead();
        result.FileSize = reader.LogFileSize();
        log.LogPosDecimals = std::clamp(log.LogPosDecimals - 1, 3, 9);
        reader.CloseLog();
        result.Outcome = LoadOutcome::Loaded;
        return result;
    } catch (...) {
        // Out of memory for the store, or a failure further on: the load fails.
        store.Clear();
        result.Outcome = LoadOutcome::Failed;
        return result;
    }
}

} // namespace fixtally
