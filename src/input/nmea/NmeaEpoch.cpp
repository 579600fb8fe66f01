#include "input/nmea/NmeaEpoch.h"

#include <cmath>

namespace fixtally {

namespace {

// False when the line cannot be a GGA, RMC or GNS sentence: its name (the text from the
// last "$", where the sentence starts, to the next comma) holds none of those three letter
// groups. Saves the full classification for the other sentences of an epoch.
bool HasPositionLetters(const char* p) {
    return (p[0] == 'G' && p[1] == 'G' && p[2] == 'A') ||
           (p[0] == 'R' && p[1] == 'M' && p[2] == 'C') ||
           (p[0] == 'G' && p[1] == 'N' && p[2] == 'S');
}

bool MayBePositionSentence(std::string_view line) {
    const std::size_t dollar = SentenceStart(line);
    if (dollar == std::string_view::npos) return false;
    std::string_view name = line.substr(dollar);
    // The usual shape: a six-character name.
    if (name.size() >= 7 && name[6] == ',') {
        const char* p = name.data();
        return HasPositionLetters(p + 1) || HasPositionLetters(p + 2) || HasPositionLetters(p + 3);
    }
    name = name.substr(0, name.find(','));
    return name.find("GGA") != std::string_view::npos ||
           name.find("RMC") != std::string_view::npos || name.find("GNS") != std::string_view::npos;
}

} // namespace

int LeadingTypeFromCounts(const NmeaDecoder& d) {
    const std::int64_t gga = d.GgaNewEpochs, rmc = d.RmcNewEpochs, gns = d.GnsNewEpochs;
    if (gga > rmc && gga > gns) return SentenceGga;
    if (gns > rmc && gns > gga) return SentenceGns;
    return SentenceRmc;
}

bool GnsModeFromCounts(const NmeaDecoder& d) {
    return 2 * d.GgaCount < d.GnsCount;
}

std::string_view NmeaModeText(const NmeaDecoder& d, int leadingType) {
    if (d.RmcCount > 0 && d.GgaCount == 0 && d.GnsCount == 0) return "RMC only";
    if (d.GgaCount > 0 && d.RmcCount == 0 && d.GnsCount == 0) return "GGA only";
    if (d.GnsCount > 0 && d.RmcCount == 0 && d.GgaCount == 0) return "GNS only";
    switch (leadingType) {
    case SentenceGga:
        return "GGA preceding";
    case SentenceGns:
        return "GNS preceding";
    default:
        return "RMC preceding";
    }
}

bool NmeaEpochAssembler::AssembleEpoch(EpochFix& fix) {
    if (reader_.EndOfLog() && !hasPending_) return false;

    EpochValues& e = decoder_.Epoch;
    e.Reset();
    int lastType = SentenceNone;
    int content = 0;
    bool ended = false;
    while ((!reader_.EndOfLog() || (hasPending_ && content == 0)) && !ended) {
        if (hasPending_) {
            hasPending_ = false;
            lastType = ParseNmeaLine(pending_, decoder_, log_);
            content += lastType;
            continue;
        }
        const std::string_view line = reader_.ReadLogLine();
        // Only a line after some content can open the next epoch.
        const int type =
            content > 0 && MayBePositionSentence(line) ? PeekSentenceType(line, decoder_) : 0;
        if (content > 0 && (type == LeadingType || (type == lastType && lastType != 0))) {
            pending_.assign(line);
            hasPending_ = true;
            ended = true;
        } else {
            lastType = ParseNmeaLine(line, decoder_, log_);
            content += lastType;
        }
    }
    if (reader_.EndOfLog() && content == 0) return false;

    // An epoch without an RMC time keeps the previous epoch's time unless its GGA (GNS)
    // time is later.
    double& time = log_.LastFixTime;
    const bool gns = decoder_.GnsMode;
    if (!std::isnan(e.RmcTime)) time = e.RmcTime;
    const double ownTime = gns ? e.GnsTime : e.GgaTime;
    if (!std::isnan(ownTime) && ownTime > time) time = ownTime;

    fix.Speed = e.RmcSpeed;
    fix.Hdop = gns ? e.GnsHdop : e.GgaHdop;
    fix.Sats = gns ? e.GnsSats : e.GgaSats;
    const double ownAltitude = gns ? e.GnsAltitude : e.GgaAltitude;
    const double otherAltitude = gns ? e.GgaAltitude : e.GnsAltitude;
    if (!std::isnan(e.RmcLatitude) && !std::isnan(e.RmcLongitude)) {
        fix.Latitude = e.RmcLatitude;
        fix.Longitude = e.RmcLongitude;
        fix.Altitude = std::isnan(ownAltitude) ? otherAltitude : ownAltitude;
    } else {
        fix.Latitude = gns ? e.GnsLatitude : e.GgaLatitude;
        fix.Longitude = gns ? e.GnsLongitude : e.GgaLongitude;
        fix.Altitude = ownAltitude;
    }
    return true;
}

} // namespace fixtally
