#pragma once

#include "convert/Conversions.h"
#include "fixdata/FixRecord.h"
#include "fixdata/LoadedLog.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace fixtally {

// Type codes returned to the NMEA reader: what a line contributes to its epoch.
inline constexpr int SentenceNone = 0;
inline constexpr int SentenceGga = 1;
inline constexpr int SentenceRmc = 2;
inline constexpr int SentenceGns = 3;

// The recognised sentence names, six characters each, every one led by "$" and the last
// one closed by "$". A name's sentence index is the number of its entry (0 = placeholder).
inline constexpr std::string_view SentenceTable =
    "$X_X_X$GPGGA$GNGGA$GLGGA$GPRMC$GNRMC$GLRMC$GPGSA$GNGSA$GLGSA$GNGNS$GPGNS$GLGNS$GBGNS"
    "$GQGGA$GIGGA$GQRMC$GIRMC$GQGNS$GIGNS$GQGLL$GIGLL$GQGSA$GIGSA$QZQSA$BDGGA$BDRMC$BDGSA"
    "$GBGGA$GBRMC$GBGSA$GAGGA$GARMC$GAGSA$GAGNS$BDGNS$";
static_assert(SentenceTable.size() == 217);

// Index given to the third and later $GNGSA of a run (not an entry of the table).
inline constexpr int AdditionalGsaIndex = 36;

// Fields 0..24 of one sentence, as views into the line. Field 0 is the name ("$GPGGA").
inline constexpr int MaxNmeaFields = 25;
struct NmeaFields {
    std::array<std::string_view, MaxNmeaFields> Field{};
    int Count = 0; // fields present, field 0 included
    std::string_view operator[](int i) const { return Field[static_cast<std::size_t>(i)]; }
};

// True when the line carries "*" followed by exactly two hex digits (either case) that
// equal the XOR of the characters between "$" and "*". The line starts with "$".
bool NmeaChecksumValid(std::string_view line);

// Splits a line starting with "$" at its commas into at most 25 fields. Fields before a
// comma are trimmed; the last one is cut before a "*". More than 24 commas: the rest of
// the line, commas included, stays in field 24.
void SplitFields(std::string_view line, NmeaFields& fields);

// Index of a sentence name ("$GPGGA" -> 1); 0 when the name is no table entry.
int SentenceIndex(std::string_view name);

// The date of the last usable RMC sentence, kept as the 8-character text "mm/dd/yy" that
// DateTimeFromText reads. Empty when no date is known.
struct NmeaDateText {
    std::array<char, 8> Text{};
    std::uint8_t Size = 0;

    std::string_view View() const { return {Text.data(), Size}; }
    bool Empty() const { return Size == 0; }
    void Clear() { Size = 0; }
};

// The day number of the last date text the decoders converted, kept so that the sentences
// of a day need not convert it again.
struct NmeaDateCache {
    NmeaDateText Text;
    int Year = 0; // the CurrentYear it was converted with; 0: nothing kept
    double Day = 0;
};

// What the sentences of one epoch contribute; the reader merges it into one FixRecord.
// Absent values are NaN, 255 for counts, a space for the quality character.
struct EpochValues {
    double RmcLatitude = NaN, RmcLongitude = NaN;
    double RmcTime = NaN;  // day number
    double RmcSpeed = NaN; // knots
    double GgaLatitude = NaN, GgaLongitude = NaN, GgaAltitude = NaN;
    double GgaTime = NaN;
    double GgaHdop = NaN;
    int GgaSats = 255;
    double GnsLatitude = NaN, GnsLongitude = NaN, GnsAltitude = NaN;
    double GnsTime = NaN;
    double GnsHdop = NaN;
    int GnsSats = 255;
    double Pdop = NaN, Vdop = NaN;
    int SecondarySats = 255; // satellites of further systems (secondary and additional GSA)
    int QzssSats = 255;
    bool AltitudeValid = true; // false when a secondary or QZSS GSA reports a fix that is not 3D
    char16_t Quality = u' ';
    std::uint8_t DgpsFlag = 0;

    // Back to the start-of-epoch values above.
    void Reset() { *this = EpochValues{}; }
};

// Decoder state for one load: the epoch accumulator plus what lives across epochs and
// passes. The reader sets ReadPass, GnsMode and the per-pass fields; the decoders keep no
// other state.
struct NmeaDecoder {
    EpochValues Epoch;
    bool ReadPass = false; // false in the check pass
    bool GnsMode = false;  // positions come from GNS sentences (read pass only)
    NmeaDateText CurrentDate;
    double PrevSentenceTime = 0; // time of the last decoded GGA, RMC or GNS sentence
    std::int64_t RmcCount = 0, GgaCount = 0, GnsCount = 0;
    std::int64_t RmcNewEpochs = 0, GgaNewEpochs = 0, GnsNewEpochs = 0;
    int PrevIndex1 = 0, PrevIndex2 = 0;      // indexes of the last two accepted sentences
    int CurrentYear = CurrentCalendarYear(); // window for the two-digit RMC year
    NmeaDateCache DateCache;                 // the decoders' own
};

// Where the sentence of a line starts: at its last "$", since bytes of binary data before
// it on the same line may hold a "$" of their own; npos when the line has none.
std::size_t SentenceStart(std::string_view line);

// Handles one log line: recognises, checks and decodes it into decoder.Epoch. The
// sentence starts at the line's last "$" (bytes before it are not part of it).
// Returns the type code (SentenceGga, SentenceRmc, SentenceGns or SentenceNone).
// Reads log.ExpandMode and log.LastFixTime; raises log.LogPosDecimals and log.LogAltDecimals.
int ParseNmeaLine(std::string_view line, NmeaDecoder& decoder, LoadedLog& log);

// Classifies a line for epoch splitting without decoding it: 1 GGA, 2 RMC, 3 GNS, else 0
// (GGA is 0 in the GNS-mode read pass, GNS 0 in the read pass outside GNS mode).
int PeekSentenceType(std::string_view line, const NmeaDecoder& decoder);

// Signed degrees of an NMEA "dddmm.mmmm" value and its hemisphere field; NaN when the
// value is empty or unreadable. Raises posDecimals to the digits the value carries.
double NmeaCoordinate(std::string_view value, std::string_view hemisphere, int& posDecimals);

// Day number of an NMEA time field "hhmmss.sss" on the given date ("mm/dd/yy", or empty
// for a time of day alone); 0 when it does not convert.
double NmeaTimeValue(std::string_view field, std::string_view date, int currentYear);

} // namespace fixtally
