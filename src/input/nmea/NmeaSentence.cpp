#include "input/nmea/NmeaSentence.h"

#include "convert/DatePattern.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <string.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace fixtally {

namespace {

// True when field is a non-empty piece of text ("1" and "12" are pieces of "123456").
bool PartOf(std::string_view field, std::string_view text) {
    if (field.size() == 1) { // the usual one-letter field, without a library search
        for (char c : text)
            if (c == field[0]) return true;
        return false;
    }
    return !field.empty() && text.find(field) != std::string_view::npos;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Position of the first c in text, or npos; inline for the short lines of a log.
std::size_t FindByte(std::string_view text, char c) {
    const char* p = text.data();
    std::size_t n = text.size(), i = 0;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    for (; i + 16 <= n; i += 16) {
        int mask = _mm_movemask_epi8(
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)), wanted));
        if (mask != 0)
            return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask)));
    }
#endif
    for (; i < n; ++i)
        if (p[i] == c) return i;
    return std::string_view::npos;
}

// What each sentence index decodes as.
enum class Decoder : unsigned char {
    None,
    Gga,
    Rmc,
    Gns,
    PrimaryGsa,
    SecondaryGsa,
    QzssGsa,
    Gngsa,
    AdditionalGsa
};

constexpr Decoder kDecoders[AdditionalGsaIndex + 1] = {
    Decoder::None,                                             // 0 $X_X_X
    Decoder::Gga,           Decoder::Gga,        Decoder::Gga, // 1-3 GP/GN/GL GGA
    Decoder::Rmc,           Decoder::Rmc,        Decoder::Rmc, // 4-6 GP/GN/GL RMC
    Decoder::PrimaryGsa,                                       // 7 $GPGSA
    Decoder::Gngsa,                                            // 8 $GNGSA
    Decoder::SecondaryGsa,                                     // 9 $GLGSA
    Decoder::Gns,           Decoder::Gns,        Decoder::Gns,          Decoder::Gns, // 10-13
    Decoder::Gga,           Decoder::Gga,                               // 14-15 GQ/GI GGA
    Decoder::Rmc,           Decoder::Rmc,                               // 16-17 GQ/GI RMC
    Decoder::Gns,           Decoder::Gns,                               // 18-19 GQ/GI GNS
    Decoder::None,          Decoder::None,                              // 20-21 GQ/GI GLL
    Decoder::PrimaryGsa,    Decoder::PrimaryGsa,                        // 22-23 GQ/GI GSA
    Decoder::QzssGsa,                                                   // 24 $QZQSA
    Decoder::Gga,           Decoder::Rmc,        Decoder::SecondaryGsa, // 25-27 BD
    Decoder::Gga,           Decoder::Rmc,        Decoder::SecondaryGsa, // 28-30 GB
    Decoder::Gga,           Decoder::Rmc,        Decoder::SecondaryGsa, // 31-33 GA
    Decoder::Gns,           Decoder::Gns,                               // 34-35 GA/BD GNS
    Decoder::AdditionalGsa,                                             // 36 third and later $GNGSA
};

// The six characters of a name packed into one number (first character lowest).
constexpr std::uint64_t NameKey(const char* name) {
    std::uint64_t key = 0;
    for (int i = 5; i >= 0; --i) key = key << 8 | static_cast<unsigned char>(name[i]);
    return key;
}

std::uint64_t LoadNameKey(const char* name) {
    std::uint64_t key = 0;
    std::memcpy(&key, name, 6); // little-endian: the same number as NameKey
    return key;
}

// The table's entries, "$X_X_X" included.
constexpr std::size_t kEntries = (SentenceTable.size() - 1) / 6;
static_assert(kEntries == AdditionalGsaIndex);

// Open-addressed lookup of the entries: a multiplier that puts every key in its own
// slot of 128, found at compile time.
constexpr int kSlotBits = 7;
constexpr std::uint64_t SlotMultiplier() {
    for (std::uint64_t m = 0x9E3779B97F4A7C15ULL;; m += 0x2545F4914F6CDD1DULL) {
        bool used[1 << kSlotBits] = {};
        bool clash = false;
        for (std::size_t k = 0; k < kEntries && !clash; ++k) {
            std::uint64_t slot = (NameKey(SentenceTable.data() + 6 * k) * m) >> (64 - kSlotBits);
            clash = used[slot];
            used[slot] = true;
        }
        if (!clash) return m;
    }
}
constexpr std::uint64_t kSlotMultiplier = SlotMultiplier();

struct Slot {
    std::uint64_t Key = 0; // 0: empty (no name packs to 0)
    int Index = 0;
};
constexpr std::array<Slot, 1 << kSlotBits> kSlots = [] {
    std::array<Slot, 1 << kSlotBits> slots{};
    for (std::size_t k = 0; k < kEntries; ++k) {
        std::uint64_t key = NameKey(SentenceTable.data() + 6 * k);
        slots[(key * kSlotMultiplier) >> (64 - kSlotBits)] = {key, static_cast<int>(k)};
    }
    return slots;
}();

// Index of a six-character name; -1 when it is no entry, 0 for "$X_X_X".
int EntryIndex(std::string_view name) {
    std::uint64_t key = LoadNameKey(name.data());
    const Slot& slot = kSlots[(key * kSlotMultiplier) >> (64 - kSlotBits)];
    return slot.Key == key ? slot.Index : -1;
}

// Field 0 of a line as SplitFields would cut it.
std::string_view SentenceName(std::string_view line) {
    if (line.size() > 6 && line[6] == ',' && static_cast<unsigned char>(line[5]) > ' ')
        return line.substr(0, 6); // the usual "$TTSSS," (line starts with "$")
    std::size_t comma = line.find(',');
    if (comma != std::string_view::npos) return TrimText(line.substr(0, comma));
    std::size_t star = FindByte(line, '*');
    return star == std::string_view::npos ? line : line.substr(0, star);
}

// Index of a name for ParseNmeaLine: -1 when the name occurs nowhere in the table text,
// otherwise its sentence index (0 for a piece of the table that is no entry).
int TableIndex(std::string_view name) {
    if (name.size() == 6 && name[0] == '$') return EntryIndex(name);
    return SentenceTable.find(name) == std::string_view::npos ? -1 : SentenceIndex(name);
}
// Time of day in whole milliseconds, for telling epochs apart.
long long TimeOfDayMs(double dayNumber) {
    return std::llround((dayNumber - std::floor(dayNumber)) * 86400000.0);
}

// Counts an epoch change: a time of day that differs from the previous sentence's.
void CountNewEpoch(const NmeaDecoder& d, double time, std::int64_t& count) {
    if (d.PrevSentenceTime > 0 && time > 0 && TimeOfDayMs(d.PrevSentenceTime) != TimeOfDayMs(time))
        ++count;
}

// A satellite count as the record stores it: a byte, 255 meaning absent. An empty field
// is absent too, so that it does not pull the least count to 0.
int SatelliteCount(std::string_view field) {
    if (TrimText(field).empty() || IntegerTextOutOfRange(field)) return 255;
    int count = TextToInt(field);
    return count < 0 || count > 254 ? 255 : count;
}

int CountNonEmpty(const NmeaFields& f, int first, int last) {
    int count = 0;
    for (int i = first; i <= last && i < MaxNmeaFields; ++i) count += f[i].empty() ? 0 : 1;
    return count;
}

// Number of satellite fields of a GSA sentence with n fields (extra leading fields
// removed from n): 12 for n 18..21, 16 for 22 and more.
int GsaSatelliteFields(int n) {
    return std::min((n - 6) / 4 * 4, 16);
}

bool AllDigits(std::string_view text) {
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return !text.empty();
}

int TwoDigits(const char* p) {
    return (p[0] - '0') * 10 + (p[1] - '0');
}

// Milliseconds of the day of the usual "hhmmss[.s[s[s]]]" time; -1 when it is no valid
// time, -2 when the text has another form (the general path decides).
int FastTimeOfDayMs(std::string_view field) {
    if (field.size() < 6 || !AllDigits(field.substr(0, 6))) return -2;
    int milli = 0;
    if (field.size() > 6) {
        std::string_view fraction = field.substr(7);
        if (field[6] != '.' || fraction.size() > 3 || (!fraction.empty() && !AllDigits(fraction)))
            return -2;
        for (std::size_t i = 0; i < 3; ++i)
            milli = milli * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
    }
    int hour = TwoDigits(field.data()), minute = TwoDigits(field.data() + 2),
        second = TwoDigits(field.data() + 4);
    if (hour == 23 && minute == 59 && second == 60) second = 59; // leap second
    if (hour > 23 || minute > 59 || second > 59) return -1;
    return ((hour * 60 + minute) * 60 + second) * 1000 + milli;
}

// Day number of a "mm/dd/yy" date (NaN when the date does not exist); false for any other
// form.
bool FastDateDay(std::string_view date, int currentYear, double& day) {
    if (date.size() != 8 || date[2] != '/' || date[5] != '/' || !AllDigits(date.substr(0, 2)) ||
        !AllDigits(date.substr(3, 2)) || !AllDigits(date.substr(6, 2)))
        return false;
    day = DayNumberFromDate(PlaceShortYear(TwoDigits(date.data() + 6), currentYear),
                            TwoDigits(date.data()), TwoDigits(date.data() + 3));
    return true;
}

// The time value of an NMEA time field on a date, with the usual forms read directly and
// the day number of the date kept between sentences. Equals NmeaTimeValue.
double DecodeTime(std::string_view field, std::string_view date, NmeaDecoder& d) {
    field = TrimText(field);
    int ms = FastTimeOfDayMs(field);
    if (ms == -2) return NmeaTimeValue(field, date, d.CurrentYear);
    double day = 0;
    if (!date.empty()) {
        NmeaDateCache& cache = d.DateCache;
        if (cache.Year == d.CurrentYear && cache.Text.View() == date) {
            day = cache.Day;
        } else {
            if (!FastDateDay(date, d.CurrentYear, day))
                return NmeaTimeValue(field, date, d.CurrentYear);
            std::copy(date.begin(), date.end(), cache.Text.Text.begin());
            cache.Text.Size = 8;
            cache.Year = d.CurrentYear;
            cache.Day = day;
        }
    }
    if (ms < 0 || std::isnan(day)) return 0;
    return day + static_cast<double>(ms) / 86400000.0;
}

// $GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47
// 1 time, 2-3 latitude, 4-5 longitude, 6 quality, 7 satellites, 8 HDOP, 9 altitude.
int DecodeGga(const NmeaFields& f, NmeaDecoder& d, LoadedLog& log) {
    EpochValues& e = d.Epoch;
    int result = d.GnsMode ? SentenceNone : SentenceGga;
    // Quality 0 (invalid), 7 (manual) and 8 (simulator) are no fixes.
    if (!PartOf(f[6], "123456") || f.Count <= 13) return SentenceNone;
    if (PartOf(f[6], "2345")) e.DgpsFlag = 1;
    double time = DecodeTime(f[1], d.CurrentDate.View(), d);
    e.GgaTime = time;
    ++d.GgaCount;
    if (!d.ReadPass) {
        CountNewEpoch(d, time, d.GgaNewEpochs);
    } else {
        e.GgaSats = SatelliteCount(f[7]);
        e.GgaHdop = DopOrAbsent(TextToFloat(f[8])); // an empty HDOP is absent, not 0
        e.GgaLatitude = NmeaCoordinate(f[2], f[3], log.LogPosDecimals);
        e.GgaLongitude = NmeaCoordinate(f[4], f[5], log.LogPosDecimals);
        // An RMC of the epoch that said "precise" (3) keeps its say.
        if (!f[6].empty() && e.Quality != u'3')
            e.Quality = static_cast<char16_t>(static_cast<unsigned char>(f[6][0]));
        int decimals = log.LogAltDecimals;
        e.GgaAltitude = StrippedNumber(f[9], decimals);
        log.LogAltDecimals = std::max(log.LogAltDecimals, decimals);
    }
    d.PrevSentenceTime = time;
    return result;
}

// $GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W,A*6A
// 1 time, 2 status, 3-4 latitude, 5-6 longitude, 7 speed (knots), 9 date ddmmyy, 12 mode.
int DecodeRmc(const NmeaFields& f, NmeaDecoder& d, LoadedLog& log) {
    EpochValues& e = d.Epoch;
    if (f[2] == "V" || f.Count <= 10) return SentenceNone;
    NmeaDateText date;
    if (!f[9].empty()) {
        std::string_view ddmmyy = f[9];
        // A date that is too short or holds other characters than digits ("2208-1") is
        // no date: the sentence would add an undated fix among dated ones.
        if (ddmmyy.size() < 6 || !AllDigits(ddmmyy)) {
            e.RmcTime = 0;
            return SentenceNone;
        }
        date.Text = {ddmmyy[2], ddmmyy[3], '/', ddmmyy[0], ddmmyy[1], '/', ddmmyy[4], ddmmyy[5]};
        date.Size = 8;
    }
    ++d.RmcCount;
    e.RmcTime = DecodeTime(f[1], date.View(), d);
    // A date that jumps a day or more from the last epoch does not become the current date.
    if (std::fabs(log.LastFixTime - e.RmcTime) < 1) d.CurrentDate = date;
    if (e.RmcTime == 0) {
        e.RmcTime = DecodeTime(f[1], {}, d);
        d.CurrentDate.Clear();
    }
    if (!d.ReadPass) {
        CountNewEpoch(d, e.RmcTime, d.RmcNewEpochs);
    } else {
        e.RmcLatitude = NmeaCoordinate(f[3], f[4], log.LogPosDecimals);
        e.RmcLongitude = NmeaCoordinate(f[5], f[6], log.LogPosDecimals);
        e.RmcSpeed = TextToFloat(f[7]);
        if (e.Quality == u' ') {
            constexpr std::string_view modes = "NADPRFEMS";
            if (!f[12].empty()) {
                std::size_t p = modes.find(f[12]);
                if (p != std::string_view::npos) e.Quality = static_cast<char16_t>(u'0' + p);
            } else if (PartOf(f[2], "VAD")) {
                e.Quality = static_cast<char16_t>(u'0' + std::string_view("VAD").find(f[2]));
            }
        }
        if (f[12] == "P" && (e.Quality == u' ' || e.Quality == u'5')) e.Quality = u'3';
    }
    d.PrevSentenceTime = e.RmcTime;
    return SentenceRmc;
}

// $GNGNS,123519.00,4807.038,N,01131.000,E,AAN,12,0.9,545.4,46.9,,*5B
// 1 time, 2-3 latitude, 4-5 longitude, 6 mode letters (one per system), 7 satellites,
// 8 HDOP, 9 altitude.
int DecodeGns(const NmeaFields& f, NmeaDecoder& d, LoadedLog& log) {
    EpochValues& e = d.Epoch;
    int result = d.GnsMode ? SentenceGns : SentenceNone;
    char mode = 'N';
    for (char c : f[6])
        if (c != 'N' && c != ' ') mode = c;
    if (mode == 'N' || f.Count < 11) return SentenceNone;
    if (PartOf(f[6], "DPRF")) e.DgpsFlag = 1;
    double time = DecodeTime(f[1], d.CurrentDate.View(), d);
    e.GnsTime = time;
    ++d.GnsCount;
    if (!d.ReadPass) {
        CountNewEpoch(d, time, d.GnsNewEpochs);
    } else {
        e.GnsSats = SatelliteCount(f[7]);
        e.GnsHdop = DopOrAbsent(TextToFloat(f[8])); // an empty HDOP is absent, not 0
        e.GnsLatitude = NmeaCoordinate(f[2], f[3], log.LogPosDecimals);
        e.GnsLongitude = NmeaCoordinate(f[4], f[5], log.LogPosDecimals);
        e.GnsAltitude = TextToFloat(f[9]); // empty or unreadable: absent
        std::size_t p = std::string_view("NADPRFEMS").find(mode);
        e.Quality = p == std::string_view::npos ? u' ' : static_cast<char16_t>(u'0' + p);
    }
    d.PrevSentenceTime = time;
    return result;
}

// $GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39
// 1 selection mode, 2 fix type (1 none, 2 2D, 3 3D), then 12 or 16 satellites, PDOP,
// HDOP, VDOP. Empty DOP fields are absent.
int DecodePrimaryGsa(const NmeaFields& f, NmeaDecoder& d) {
    if (f.Count < 18) return SentenceNone;
    EpochValues& e = d.Epoch;
    int b = GsaSatelliteFields(f.Count);
    e.Pdop = DopOrAbsent(TextToFloat(f[b + 3]));
    e.Vdop = DopOrAbsent(TextToFloat(f[b + 5]));
    double hdop = DopOrAbsent(TextToFloat(f[b + 4]));
    double& target = d.GnsMode ? e.GnsHdop : e.GgaHdop;
    if (!std::isnan(hdop) && (std::isnan(target) || target == 0)) target = hdop;
    return SentenceNone;
}

int DecodeSecondaryGsa(const NmeaFields& f, NmeaDecoder& d) {
    if (f.Count < 18) return SentenceNone;
    EpochValues& e = d.Epoch;
    int b = GsaSatelliteFields(f.Count);
    int result = SentenceNone;
    if (std::isnan(e.Pdop) || std::isnan(e.Vdop)) {
        e.AltitudeValid = f[2] == "3" || f[2].empty();
        e.Pdop = DopOrAbsent(TextToFloat(f[b + 3]));
        e.Vdop = DopOrAbsent(TextToFloat(f[b + 5]));
        result = SentenceGns;
    }
    e.SecondarySats = CountNonEmpty(f, 3, b + 2);
    return result;
}

int DecodeAdditionalGsa(const NmeaFields& f, NmeaDecoder& d) {
    if (f.Count < 18) return SentenceNone;
    EpochValues& e = d.Epoch;
    if (e.SecondarySats != 255) {
        int b = GsaSatelliteFields(f.Count);
        // Stays a byte below the absent marker however many sentences follow.
        e.SecondarySats = std::min(254, e.SecondarySats + CountNonEmpty(f, 3, b + 2));
    }
    return d.GnsMode ? SentenceGns : SentenceNone;
}

// $QZQSA has one more leading field: the fix type is field 3, satellites start at field 4.
int DecodeQzssGsa(const NmeaFields& f, NmeaDecoder& d) {
    if (f.Count < 19) return SentenceNone;
    EpochValues& e = d.Epoch;
    int b = GsaSatelliteFields(f.Count - 1);
    if (e.SecondarySats == 0) {
        if (!f[3].empty()) e.AltitudeValid = f[3] == "3";
        e.Pdop = DopOrAbsent(TextToFloat(f[b + 4]));
        e.Vdop = DopOrAbsent(TextToFloat(f[b + 6]));
    }
    e.QzssSats = CountNonEmpty(f, 4, b + 3);
    return SentenceNone;
}

// Receivers that report several systems in consecutive $GNGSA send the GPS one first:
// the first of a run is the primary GSA, the second a secondary one, the rest additional.
int GngsaIndex(int prev1, int prev2) {
    if (prev1 == 7) return 9;
    if (prev1 != 8) return 7;
    return prev2 == 7 || prev2 == 8 ? AdditionalGsaIndex : 9;
}

// XOR of the bytes of [p, p + n), eight at a time.
unsigned XorBytes(const char* p, std::size_t n) {
    std::uint64_t wide = 0;
    for (; n >= 8; n -= 8, p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        wide ^= word;
    }
    wide ^= wide >> 32;
    wide ^= wide >> 16;
    wide ^= wide >> 8;
    unsigned sum = static_cast<unsigned>(wide & 0xFF);
    for (; n > 0; --n, ++p) sum ^= static_cast<unsigned char>(*p);
    return sum;
}

// The checksum test with the position of the first "*" already known.
bool ChecksumValidAt(std::string_view line, std::size_t star) {
    // At least "$" and a five-letter name before "*", exactly two digits after it.
    if (star == std::string_view::npos || star < 6 || line.size() != star + 3) return false;
    int high = HexDigit(line[star + 1]), low = HexDigit(line[star + 2]);
    return high >= 0 && low >= 0 &&
           static_cast<unsigned>(high * 16 + low) == XorBytes(line.data() + 1, star - 1);
}

// Bit i set when p[i] is a comma, for the n <= 16 bytes at p, which end a line of lineSize
// bytes when n < 16.
std::uint32_t CommaMask(const char* p, std::size_t n, std::size_t lineSize) {
#if defined(__SSE2__)
    const __m128i commas = _mm_set1_epi8(',');
    if (n == 16) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, commas)));
    }
    if (lineSize >= 16) { // the last 16 bytes of the line, shifted down to the n wanted
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n - 16));
        auto mask = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, commas)));
        return mask >> (16 - n);
    }
#endif
    (void)lineSize;
    std::uint32_t mask = 0;
    for (std::size_t i = 0; i < n; ++i) mask |= static_cast<std::uint32_t>(p[i] == ',') << i;
    return mask;
}

// The usual line that ends in "*hh" with no other "*": its checksum verdict in one pass
// over the bytes. False when the line has another shape (the general test decides).
bool QuickChecksum(std::string_view line, bool& valid) {
    const std::size_t n = line.size();
    if (n < 9 || line[n - 3] != '*') return false;
    constexpr std::uint64_t kStars = 0x2A2A2A2A2A2A2A2AULL, kOnes = 0x0101010101010101ULL,
                            kHigh = 0x8080808080808080ULL;
    const char* p = line.data() + 1;
    std::size_t left = n - 4;
    std::uint64_t wide = 0, stars = 0;
    for (; left >= 8; left -= 8, p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        wide ^= word;
        std::uint64_t t = word ^ kStars;
        stars |= (t - kOnes) & ~t & kHigh; // non-zero once a byte is "*"
    }
    wide ^= wide >> 32;
    wide ^= wide >> 16;
    wide ^= wide >> 8;
    unsigned sum = static_cast<unsigned>(wide & 0xFF);
    for (; left > 0; --left, ++p) {
        sum ^= static_cast<unsigned char>(*p);
        stars |= *p == '*';
    }
    if (stars != 0) return false;
    int high = HexDigit(line[n - 2]), low = HexDigit(line[n - 1]);
    valid = high >= 0 && low >= 0 && static_cast<unsigned>(high * 16 + low) == sum;
    return true;
}

// TrimText without the call for the usual field that has nothing to trim.
std::string_view TrimField(const char* begin, const char* end) {
    if (begin == end ||
        (static_cast<unsigned char>(*begin) > ' ' && static_cast<unsigned char>(end[-1]) > ' '))
        return {begin, static_cast<std::size_t>(end - begin)};
    return TrimText({begin, static_cast<std::size_t>(end - begin)});
}

// Inserts c into a fixed buffer before the 1-based position, clamped to the text.
void InsertChar(char* text, int& size, char c, int position) {
    int at = std::clamp(position, 1, size + 1) - 1;
    std::memmove(text + at + 1, text + at, static_cast<std::size_t>(size - at));
    text[at] = c;
    ++size;
}

} // namespace

std::size_t SentenceStart(std::string_view line) {
    const void* last = line.empty() ? nullptr : ::memrchr(line.data(), '$', line.size());
    return last == nullptr ? std::string_view::npos
                           : static_cast<std::size_t>(static_cast<const char*>(last) - line.data());
}

bool NmeaChecksumValid(std::string_view line) {
    bool valid = false;
    return QuickChecksum(line, valid) ? valid : ChecksumValidAt(line, FindByte(line, '*'));
}

void SplitFields(std::string_view line, NmeaFields& fields) {
    const char* base = line.data();
    const std::size_t size = line.size();
    std::size_t start = 0, block = 0;
    int k = 0;
    // Commas are found a block at a time as a bit mask, then taken bit by bit.
    while (k < MaxNmeaFields - 1 && block < size) {
        std::uint32_t commas =
            CommaMask(base + block, std::min<std::size_t>(16, size - block), size);
        for (; commas != 0 && k < MaxNmeaFields - 1; commas &= commas - 1) {
            std::size_t comma = block + static_cast<std::size_t>(std::countr_zero(commas));
            fields.Field[static_cast<std::size_t>(k++)] = TrimField(base + start, base + comma);
            start = comma + 1;
        }
        block += 16;
    }
    std::size_t star = start;
    while (star < size && base[star] != '*') ++star;
    fields.Field[static_cast<std::size_t>(k++)] = {base + start, star - start};
    fields.Count = k;
    for (int f = k; f < MaxNmeaFields; ++f) fields.Field[static_cast<std::size_t>(f)] = {};
}

int SentenceIndex(std::string_view name) {
    if (name.size() == 6 && name[0] == '$') return std::max(EntryIndex(name), 0);
    // The first place where the name is followed by "$"; entry k starts at 6k.
    std::size_t pos = 0;
    while ((pos = SentenceTable.find(name, pos)) != std::string_view::npos) {
        std::size_t end = pos + name.size();
        if (end < SentenceTable.size() && SentenceTable[end] == '$')
            return static_cast<int>((pos + 1) / 6);
        ++pos;
    }
    return 0;
}

double NmeaCoordinate(std::string_view value, std::string_view hemisphere, int& posDecimals) {
    value = TrimText(value);
    if (value.empty()) return NaN;
    // Digits after the point; without a point the whole text counts.
    const char* p = value.data();
    const char* end = p + value.size();
    std::uint64_t mantissa = 0;
    for (; p != end && *p >= '0' && *p <= '9'; ++p)
        mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
    std::size_t counted = value.size();
    if (p != end && *p == '.') {
        counted = static_cast<std::size_t>(end - p - 1);
        while (++p != end && *p >= '0' && *p <= '9')
            mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
    } else {
        for (const char* q = p; q != end; ++q)
            if (*q == '.') {
                counted = static_cast<std::size_t>(end - q - 1);
                break;
            }
    }
    posDecimals = std::max(posDecimals, static_cast<int>(counted));
    double v = 0;
    // The usual "dddmm.mmmm" read here exactly as ParseDecimal would read it.
    static constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};
    if (p == end && value.size() <= 19 && value.size() > (counted == value.size() ? 0 : 1) &&
        counted <= 10 && mantissa <= (std::uint64_t{1} << 53))
        v = static_cast<double>(mantissa) / kPow10[counted == value.size() ? 0 : counted];
    else if (!ParseDecimal(value, v))
        return NaN;
    v /= 100;
    double degrees = std::trunc(v);
    double result = std::fabs(degrees + (v - degrees) / 0.6);
    hemisphere = TrimText(hemisphere);
    return hemisphere == "S" || hemisphere == "W" ? -result : result;
}

double NmeaTimeValue(std::string_view field, std::string_view date, int currentYear) {
    field = TrimText(field);
    int ms = FastTimeOfDayMs(field);
    double day = 0;
    if (ms != -2 && (date.empty() || FastDateDay(date, currentYear, day)))
        return ms < 0 || std::isnan(day) ? 0 : day + static_cast<double>(ms) / 86400000.0;
    // hh:mm:ss.sss is 12 characters; anything much longer cannot be a time.
    constexpr int kRoom = 32;
    if (field.size() > kRoom - 8) return 0;
    char text[kRoom];
    int size = static_cast<int>(field.size());
    std::memcpy(text, field.data(), field.size());
    if (size > 0) {
        // hhmmss.sss -> hh:mm:ss.sss; without a point a seventh digit starts the fraction.
        const char* dot =
            static_cast<const char*>(std::memchr(text, '.', static_cast<std::size_t>(size)));
        int a = 0;
        if (dot != nullptr) {
            a = static_cast<int>(dot - text);
        } else if (size >= 7) {
            InsertChar(text, size, '.', 7);
            a = 6;
        } else {
            a = size;
        }
        InsertChar(text, size, ':', a - 1);
        InsertChar(text, size, ':', a - 3);
        dot = static_cast<const char*>(std::memchr(text, '.', static_cast<std::size_t>(size)));
        if (dot != nullptr) {
            int after = size - static_cast<int>(dot - text) - 1;
            while (after++ < 3) text[size++] = '0';
        }
    }
    return DateTimeFromText(date, std::string_view(text, static_cast<std::size_t>(size)),
                            currentYear);
}

int ParseNmeaLine(std::string_view line, NmeaDecoder& decoder, LoadedLog& log) {
    std::size_t dollar = SentenceStart(line);
    if (dollar == std::string_view::npos || line.size() <= dollar + 7) return SentenceNone;
    line.remove_prefix(dollar);

    NmeaFields fields;
    SplitFields(line, fields);
    std::string_view name = fields[0];
    // Expand mode decodes only the variants whose name carries a trailing "H".
    if (log.ExpandMode) {
        if (name.size() >= 7 && name.back() == 'H')
            name.remove_suffix(1);
        else
            name = "$X_X_X$";
    }
    int raw = TableIndex(name);
    if (raw < 0) return SentenceNone;

    bool accepted = false;
    if (!QuickChecksum(line, accepted)) {
        std::size_t star = FindByte(line, '*');
        accepted = star != std::string_view::npos
                       ? ChecksumValidAt(line, star)
                       : name.find("RMC") == std::string_view::npos; // RMC needs its checksum
    }
    int prev1 = decoder.PrevIndex1, prev2 = decoder.PrevIndex2;
    decoder.PrevIndex2 = prev1;
    if (!accepted) return SentenceNone;

    decoder.PrevIndex1 = raw;
    int index = raw == 8 ? GngsaIndex(prev1, prev2) : raw;
    switch (kDecoders[index]) {
    case Decoder::Gga:
        return decoder.GnsMode && decoder.ReadPass ? SentenceNone : DecodeGga(fields, decoder, log);
    case Decoder::Rmc:
        return DecodeRmc(fields, decoder, log);
    case Decoder::Gns:
        return decoder.GnsMode || !decoder.ReadPass ? DecodeGns(fields, decoder, log)
                                                    : SentenceNone;
    case Decoder::PrimaryGsa:
        return DecodePrimaryGsa(fields, decoder);
    case Decoder::SecondaryGsa:
        return DecodeSecondaryGsa(fields, decoder);
    case Decoder::QzssGsa:
        return DecodeQzssGsa(fields, decoder);
    case Decoder::AdditionalGsa:
        return DecodeAdditionalGsa(fields, decoder);
    case Decoder::Gngsa:
    case Decoder::None:
        break;
    }
    return SentenceNone;
}

int PeekSentenceType(std::string_view line, const NmeaDecoder& decoder) {
    std::size_t dollar = SentenceStart(line);
    if (dollar == std::string_view::npos) return SentenceNone;
    line.remove_prefix(dollar);
    int index = SentenceIndex(SentenceName(line));
    if (index < 1) return SentenceNone;
    bool valid = false;
    if (!QuickChecksum(line, valid)) {
        std::size_t star = FindByte(line, '*');
        valid = star == std::string_view::npos || ChecksumValidAt(line, star);
    }
    if (!valid) return SentenceNone;
    switch (kDecoders[index]) {
    case Decoder::Gga:
        return decoder.GnsMode && decoder.ReadPass ? SentenceNone : SentenceGga;
    case Decoder::Rmc:
        return SentenceRmc;
    case Decoder::Gns:
        return !decoder.GnsMode && decoder.ReadPass ? SentenceNone : SentenceGns;
    default:
        return SentenceNone;
    }
}

} // namespace fixtally
