#pragma once

#include "fixdata/FixRecord.h"
#include "fixdata/LoadedLog.h"
#include "input/LogLineReader.h"
#include "input/nmea/NmeaSentence.h"

#include <string>
#include <string_view>

namespace fixtally {

// The merged position of one epoch, taken from its RMC and GGA (or GNS) sentences.
struct EpochFix {
    double Latitude = NaN;
    double Longitude = NaN;
    double Altitude = NaN;
    double Speed = NaN; // knots
    double Hdop = NaN;
    int Sats = 255;
};

// The sentence type that opens an epoch, learnt in the check pass: the type whose time
// changes most often arrives first in each epoch. SentenceRmc unless the new-epoch count
// of one type is strictly greater than both others.
int LeadingTypeFromCounts(const NmeaDecoder& decoder);

// Positions come from GNS sentences when there are more than twice as many GNS as GGA.
bool GnsModeFromCounts(const NmeaDecoder& decoder);

// "RMC only", "GGA only", "GNS only", or "GGA preceding" / "RMC preceding" /
// "GNS preceding" after the leading type.
std::string_view NmeaModeText(const NmeaDecoder& decoder, int leadingType);

// Groups consecutive log lines into epochs. A line that opens the next epoch (the leading
// type, or the same position type twice) is kept as the pending line for the next call.
class NmeaEpochAssembler {
public:
    NmeaEpochAssembler(LogLineReader& reader, NmeaDecoder& decoder, LoadedLog& log)
        : reader_(reader), decoder_(decoder), log_(log) {
        pending_.reserve(128);
    }

    int LeadingType = SentenceRmc;

    // Reads and decodes the lines of the next epoch into the decoder's epoch values and
    // merges them into fix; the epoch time goes to log.LastFixTime, which carries over
    // from the previous epoch when this one has no later time. False at the end of the log.
    bool AssembleEpoch(EpochFix& fix);

private:
    LogLineReader& reader_;
    NmeaDecoder& decoder_;
    LoadedLog& log_;
    std::string pending_;
    bool hasPending_ = false;
};

} // namespace fixtally
