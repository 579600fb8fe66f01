// loggen: writes a synthetic receiver log of a static receiver near a fixed
// point, for benchmarks, examples and tests. The output depends only on the
// options: the same seed gives the same bytes on every machine.
//
//   loggen [--kind nmea|csv|pos] [--variant gp|gn|gns] [--order rmc|gga]
//          [--epochs N] [--seed S] [--rate HZ] [--start YYYY-MM-DDThh:mm:ss]
//          [--midnight] [--lat DEG] [--lon DEG] [--alt M] [--noise M]
//          [--ubx-every N] [--lf] [-o FILE]
//
// Kinds:
//   nmea  NMEA 0183 sentences, one epoch after another (the variants below).
//   csv   a GPS logger CSV log (date and time columns, hemisphere columns, units).
//   pos   an RTKLIB solution file in GPS time with its "%" preamble and title line.
// NMEA variants:
//   gp    $GPRMC, $GPGGA, $GPGSA per epoch (about 210 bytes).
//   gn    $GNRMC, $GNGGA and three consecutive $GNGSA (GPS, GLONASS, Galileo).
//   gns   $GNRMC, $GNGNS and two $GNGSA per epoch, a $GNGGA every fourth epoch,
//         so that GNS sentences outnumber GGA more than twice.
// --order gga puts the GGA (GNS) sentence before the RMC.
// --midnight starts the log so that 0:00 UTC falls in its middle.
// --ubx-every N inserts a u-blox UBX frame after every N-th epoch.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <string_view>

namespace {

enum class Kind { Nmea, Csv, Pos };
enum class Variant { Gp, Gn, Gns };

struct Options {
    Kind kind = Kind::Nmea;
    Variant variant = Variant::Gp;
    bool ggaFirst = false;
    std::int64_t epochs = 1000;
    std::uint64_t seed = 1;
    double rate = 1.0;
    // 2026-03-14 12:00:00 UTC as milliseconds since 1970-01-01
    std::int64_t startMs = 1773489600000LL;
    bool midnight = false;
    double latitude = 35.681236;
    double longitude = 139.767125;
    double altitude = 40.0;
    double noise = 2.0; // metres, horizontal standard deviation
    std::int64_t ubxEvery = 0;
    const char* lineEnd = "\r\n";
    const char* output = nullptr;
};

// Days since 1970-01-01 to year, month, day (proleptic Gregorian).
void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

std::int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = static_cast<unsigned>((153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1);
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

// Output text for one epoch, reused without reallocation.
class Line {
public:
    void Clear() { text_.clear(); }
    Line& Add(std::string_view s) {
        text_.append(s);
        return *this;
    }
    Line& Add(char c) {
        text_.push_back(c);
        return *this;
    }
    // An unsigned integer with at least `width` digits.
    Line& Int(std::int64_t v, int width = 1) {
        char buf[32];
        auto r = std::to_chars(buf, buf + sizeof buf, v);
        for (int pad = width - static_cast<int>(r.ptr - buf); pad > 0; --pad) text_.push_back('0');
        text_.append(buf, r.ptr);
        return *this;
    }
    Line& Fixed(double v, int decimals) {
        char buf[64];
        auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
        text_.append(buf, r.ptr);
        return *this;
    }
    // ddmm.mmmmmm / dddmm.mmmmmm and the hemisphere letter.
    Line& Coordinate(double degrees, int degreeDigits, char positive, char negative) {
        const double a = std::fabs(degrees);
        std::int64_t micro = std::llround((a - std::floor(a)) * 60.0 * 1e6);
        std::int64_t whole = static_cast<std::int64_t>(std::floor(a));
        if (micro >= 60000000) {
            micro -= 60000000;
            ++whole;
        }
        Int(whole, degreeDigits).Int(micro / 1000000, 2).Add('.').Int(micro % 1000000, 6);
        return Add(',').Add(degrees < 0 ? negative : positive);
    }
    // Appends "*hh" and the line end to the sentence started at `start`.
    void EndSentence(std::size_t start, const char* lineEnd) {
        unsigned sum = 0;
        for (std::size_t i = start + 1; i < text_.size(); ++i)
            sum ^= static_cast<unsigned char>(text_[i]);
        static const char hex[] = "0123456789ABCDEF";
        text_.push_back('*');
        text_.push_back(hex[sum >> 4]);
        text_.push_back(hex[sum & 15]);
        text_.append(lineEnd);
    }
    std::size_t Size() const { return text_.size(); }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

// Deterministic normal deviates (Box-Muller over mt19937_64), the same on
// every standard library.
class Noise {
public:
    explicit Noise(std::uint64_t seed) : rng_(seed) {}
    double Uniform() { return (static_cast<double>(rng_() >> 11) + 0.5) * 0x1.0p-53; }
    double Normal() {
        if (haveSpare_) {
            haveSpare_ = false;
            return spare_;
        }
        const double r = std::sqrt(-2.0 * std::log(Uniform()));
        const double phi = 2.0 * 3.14159265358979323846 * Uniform();
        spare_ = r * std::sin(phi);
        haveSpare_ = true;
        return r * std::cos(phi);
    }
    unsigned Below(unsigned n) { return static_cast<unsigned>(rng_() % n); }

private:
    std::mt19937_64 rng_;
    double spare_ = 0;
    bool haveSpare_ = false;
};

struct Epoch {
    std::int64_t timeMs; // since 1970-01-01 UTC
    double latitude, longitude, altitude;
    double speedKnots, course;
    int satellites;
    double hdop, vdop, pdop;
};

void TimeField(Line& l, std::int64_t ms) {
    const std::int64_t dayMs = ((ms % 86400000) + 86400000) % 86400000;
    l.Int(dayMs / 3600000, 2).Int(dayMs / 60000 % 60, 2).Int(dayMs / 1000 % 60, 2);
    l.Add('.').Int(dayMs % 1000 / 10, 2);
}

void DateField(Line& l, std::int64_t ms) {
    const std::int64_t days = ms >= 0 ? ms / 86400000 : -((-ms + 86399999) / 86400000);
    int y, m, d;
    CivilFromDays(days, y, m, d);
    l.Int(d, 2).Int(m, 2).Int(y % 100, 2);
}

void Rmc(Line& l, const char* talker, const Epoch& e, const char* lineEnd) {
    const std::size_t start = l.Size();
    l.Add('$').Add(talker).Add("RMC,");
    TimeField(l, e.timeMs);
    l.Add(",A,").Coordinate(e.latitude, 2, 'N', 'S').Add(',');
    l.Coordinate(e.longitude, 3, 'E', 'W').Add(',').Fixed(e.speedKnots, 2).Add(',');
    l.Fixed(e.course, 1).Add(',');
    DateField(l, e.timeMs);
    l.Add(",,,A");
    l.EndSentence(start, lineEnd);
}

void Gga(Line& l, const char* talker, const Epoch& e, const char* lineEnd) {
    const std::size_t start = l.Size();
    l.Add('$').Add(talker).Add("GGA,");
    TimeField(l, e.timeMs);
    l.Add(',').Coordinate(e.latitude, 2, 'N', 'S').Add(',');
    l.Coordinate(e.longitude, 3, 'E', 'W').Add(",1,").Int(e.satellites, 2).Add(',');
    l.Fixed(e.hdop, 1).Add(',').Fixed(e.altitude, 1).Add(",M,39.4,M,,");
    l.EndSentence(start, lineEnd);
}

void Gns(Line& l, const Epoch& e, const char* lineEnd) {
    const std::size_t start = l.Size();
    l.Add("$GNGNS,");
    TimeField(l, e.timeMs);
    l.Add(',').Coordinate(e.latitude, 2, 'N', 'S').Add(',');
    l.Coordinate(e.longitude, 3, 'E', 'W').Add(",AAN,").Int(e.satellites, 2).Add(',');
    l.Fixed(e.hdop, 1).Add(',').Fixed(e.altitude, 1).Add(",39.4,,");
    l.EndSentence(start, lineEnd);
}

// A GSA listing `count` satellites numbered from `first`.
void Gsa(Line& l, const char* talker, int first, int count, const Epoch& e, const char* lineEnd) {
    const std::size_t start = l.Size();
    l.Add('$').Add(talker).Add("GSA,A,3,");
    for (int i = 0; i < 12; ++i) {
        if (i < count) l.Int(first + i * 2, 2);
        l.Add(',');
    }
    l.Fixed(e.pdop, 1).Add(',').Fixed(e.hdop, 1).Add(',').Fixed(e.vdop, 1);
    l.EndSentence(start, lineEnd);
}

void Ubx(Line& l, Noise& noise) {
    const int payload = 8 + static_cast<int>(noise.Below(80));
    l.Add("\xB5\x62\x01\x07").Add(static_cast<char>(payload)).Add('\0');
    for (int i = 0; i < payload + 2; ++i) l.Add(static_cast<char>(noise.Below(256)));
}

void WriteNmeaEpoch(Line& l, const Options& o, const Epoch& e, std::int64_t index, Noise& noise) {
    const char* end = o.lineEnd;
    switch (o.variant) {
    case Variant::Gp:
        if (o.ggaFirst) Gga(l, "GP", e, end);
        Rmc(l, "GP", e, end);
        if (!o.ggaFirst) Gga(l, "GP", e, end);
        Gsa(l, "GP", 2, e.satellites, e, end);
        break;
    case Variant::Gn: {
        if (o.ggaFirst) Gga(l, "GN", e, end);
        Rmc(l, "GN", e, end);
        if (!o.ggaFirst) Gga(l, "GN", e, end);
        const int gps = e.satellites / 2, glonass = (e.satellites - gps + 1) / 2;
        Gsa(l, "GN", 2, gps, e, end);
        Gsa(l, "GN", 65, glonass, e, end);
        Gsa(l, "GN", 1, e.satellites - gps - glonass, e, end);
        break;
    }
    case Variant::Gns:
        if (o.ggaFirst) Gns(l, e, end);
        Rmc(l, "GN", e, end);
        if (!o.ggaFirst) Gns(l, e, end);
        if (index % 4 == 0) Gga(l, "GN", e, end);
        Gsa(l, "GN", 2, e.satellites / 2, e, end);
        Gsa(l, "GN", 65, e.satellites - e.satellites / 2, e, end);
        break;
    }
    if (o.ubxEvery > 0 && (index + 1) % o.ubxEvery == 0) Ubx(l, noise);
}

// --- Logger CSV and RTKLIB solution kinds ----------------------------------------------------

// "yyyy/mm/dd", `between`, "hh:mm:ss" and, with milliseconds, ".sss".
void SlashedDateTime(Line& l, std::int64_t ms, char between, bool milliseconds) {
    const std::int64_t days = ms >= 0 ? ms / 86400000 : -((-ms + 86399999) / 86400000);
    const std::int64_t dayMs = ms - days * 86400000;
    int y, m, d;
    CivilFromDays(days, y, m, d);
    l.Int(y, 4).Add('/').Int(m, 2).Add('/').Int(d, 2).Add(between);
    l.Int(dayMs / 3600000, 2).Add(':').Int(dayMs / 60000 % 60, 2).Add(':');
    l.Int(dayMs / 1000 % 60, 2);
    if (milliseconds) l.Add('.').Int(dayMs % 1000, 3);
}

// A fixed-point number right-aligned in `width` characters, as RTKLIB writes its columns.
void Column(Line& l, double v, int decimals, int width) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    for (int pad = width - static_cast<int>(r.ptr - buf); pad > 0; --pad) l.Add(' ');
    l.Add(std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)));
}

// A logger CSV in the layout of the M-241 / V-900 family: date and time columns, decimal
// degrees with hemisphere columns, height and speed with their units, used(view) count.
void WriteCsvHeader(Line& l, const Options& o) {
    l.Add("INDEX,RCR,DATE,TIME,VALID,LATITUDE,N/S,LONGITUDE,E/W,HEIGHT,SPEED,HDOP,"
          "NSAT (USED/VIEW)")
        .Add(o.lineEnd);
}
void WriteCsvEpoch(Line& l, const Options& o, const Epoch& e, std::int64_t index) {
    l.Int(index + 1).Add(",T,");
    SlashedDateTime(l, e.timeMs, ',', false);
    l.Add(",SPS,").Fixed(std::fabs(e.latitude), 6).Add(e.latitude < 0 ? ",S," : ",N,");
    l.Fixed(std::fabs(e.longitude), 6).Add(e.longitude < 0 ? ",W," : ",E,");
    l.Fixed(e.altitude, 3).Add(" M,").Fixed(e.speedKnots * 1.852, 1).Add(" km/h,");
    l.Fixed(e.hdop, 1).Add(',').Int(e.satellites).Add('(').Int(e.satellites + 3).Add(')');
    l.Add(o.lineEnd);
}

// An RTKLIB solution file in GPS time, 18 s ahead of UTC, with a comment preamble and the
// column title line as RTKLIB writes them.
constexpr std::int64_t GpsAheadOfUtcMs = 18000;
void WritePosHeader(Line& l, const Options& o) {
    l.Add("% program   : loggen (synthetic static receiver)").Add(o.lineEnd);
    l.Add("% pos mode  : kinematic").Add(o.lineEnd);
    l.Add("% ref pos   : ").Fixed(o.latitude, 9).Add("  ").Fixed(o.longitude, 9).Add("  ");
    l.Fixed(o.altitude, 4).Add(o.lineEnd);
    l.Add("%").Add(o.lineEnd);
    l.Add("% (lat/lon/height=WGS84/ellipsoidal,Q=1:fix,2:float,3:sbas,4:dgps,5:single,6:ppp,"
          "ns=# of satellites)")
        .Add(o.lineEnd);
    l.Add("%  GPST                  latitude(deg) longitude(deg)  height(m)   Q  ns   sdn(m)"
          "   sde(m)   sdu(m)  sdne(m)  sdeu(m)  sdun(m) age(s)  ratio")
        .Add(o.lineEnd);
}
void WritePosEpoch(Line& l, const Options& o, const Epoch& e, std::int64_t) {
    SlashedDateTime(l, e.timeMs + GpsAheadOfUtcMs, ' ', true);
    const int quality = e.satellites >= 9 ? 1 : 2; // fixed with many satellites, else float
    const double sd = 0.01 * e.hdop * (quality == 1 ? 1 : 10);
    Column(l, e.latitude, 9, 15);
    Column(l, e.longitude, 9, 15);
    Column(l, e.altitude, 4, 11);
    Column(l, quality, 0, 4);
    Column(l, e.satellites, 0, 4);
    Column(l, sd, 4, 9);
    Column(l, sd * 0.8, 4, 9);
    Column(l, sd * 2.2, 4, 9);
    Column(l, sd * 0.3, 4, 9);
    Column(l, -sd * 0.4, 4, 9);
    Column(l, -sd * 0.5, 4, 9);
    Column(l, 1.0, 2, 7);
    Column(l, quality == 1 ? 12.5 : 1.4, 1, 7);
    l.Add(o.lineEnd);
}

bool ParseTime(std::string_view s, std::int64_t& ms) {
    // YYYY-MM-DDThh:mm:ss
    if (s.size() != 19 || s[4] != '-' || s[7] != '-' || s[10] != 'T' || s[13] != ':' ||
        s[16] != ':')
        return false;
    auto num = [&](std::size_t at, std::size_t len, int& v) {
        auto r = std::from_chars(s.data() + at, s.data() + at + len, v);
        return r.ec == std::errc() && r.ptr == s.data() + at + len;
    };
    int y, mo, d, h, mi, se;
    if (!num(0, 4, y) || !num(5, 2, mo) || !num(8, 2, d) || !num(11, 2, h) || !num(14, 2, mi) ||
        !num(17, 2, se))
        return false;
    ms = (DaysFromCivil(y, mo, d) * 86400 + h * 3600 + mi * 60 + se) * 1000LL;
    return true;
}

template <typename T> bool ParseNumber(const char* s, T& v) {
    const char* end = s + std::strlen(s);
    auto r = std::from_chars(s, end, v);
    return r.ec == std::errc() && r.ptr == end;
}

int Usage(const char* message) {
    std::fputs("loggen: ", stderr);
    std::fputs(message, stderr);
    std::fputs("\nusage: loggen [--kind nmea|csv|pos] [--variant gp|gn|gns] [--order rmc|gga]\n"
               "              [--epochs N] [--seed S] [--rate HZ] [--start YYYY-MM-DDThh:mm:ss]\n"
               "              [--midnight] [--lat DEG] [--lon DEG] [--alt M] [--noise M]\n"
               "              [--ubx-every N] [--lf] [-o FILE]\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
        auto need = [&]() {
            if (!v) return false;
            ++i;
            return true;
        };
        if (a == "--midnight")
            o.midnight = true;
        else if (a == "--lf")
            o.lineEnd = "\n";
        else if (a == "--kind" && need()) {
            const std::string_view k = v;
            if (k == "nmea")
                o.kind = Kind::Nmea;
            else if (k == "csv")
                o.kind = Kind::Csv;
            else if (k == "pos")
                o.kind = Kind::Pos;
            else
                return Usage("unknown kind");
        } else if (a == "--variant" && need()) {
            const std::string_view k = v;
            if (k == "gp")
                o.variant = Variant::Gp;
            else if (k == "gn")
                o.variant = Variant::Gn;
            else if (k == "gns")
                o.variant = Variant::Gns;
            else
                return Usage("unknown variant");
        } else if (a == "--order" && need()) {
            const std::string_view k = v;
            if (k != "rmc" && k != "gga") return Usage("order is rmc or gga");
            o.ggaFirst = k == "gga";
        } else if (a == "--epochs" && need()) {
            if (!ParseNumber(v, o.epochs) || o.epochs < 0) return Usage("bad --epochs");
        } else if (a == "--seed" && need()) {
            if (!ParseNumber(v, o.seed)) return Usage("bad --seed");
        } else if (a == "--rate" && need()) {
            if (!ParseNumber(v, o.rate) || !(o.rate > 0 && o.rate <= 100))
                return Usage("bad --rate");
        } else if (a == "--start" && need()) {
            if (!ParseTime(v, o.startMs)) return Usage("bad --start");
        } else if (a == "--lat" && need()) {
            if (!ParseNumber(v, o.latitude) || std::fabs(o.latitude) > 89)
                return Usage("bad --lat");
        } else if (a == "--lon" && need()) {
            if (!ParseNumber(v, o.longitude) || std::fabs(o.longitude) > 180)
                return Usage("bad --lon");
        } else if (a == "--alt" && need()) {
            if (!ParseNumber(v, o.altitude)) return Usage("bad --alt");
        } else if (a == "--noise" && need()) {
            if (!ParseNumber(v, o.noise) || o.noise < 0) return Usage("bad --noise");
        } else if (a == "--ubx-every" && need()) {
            if (!ParseNumber(v, o.ubxEvery) || o.ubxEvery < 0) return Usage("bad --ubx-every");
        } else if (a == "-o" && need()) {
            o.output = v;
        } else {
            return Usage("unknown or incomplete option");
        }
    }
    Line line;
    switch (o.kind) {
    case Kind::Nmea:
        break;
    case Kind::Csv:
        WriteCsvHeader(line, o);
        break;
    case Kind::Pos:
        WritePosHeader(line, o);
        break;
    }

    const double periodMs = 1000.0 / o.rate;
    if (o.midnight) {
        const std::int64_t day = o.startMs / 86400000 + 1;
        o.startMs = day * 86400000 - std::llround(periodMs * static_cast<double>(o.epochs / 2));
    }

    std::FILE* out = o.output ? std::fopen(o.output, "wb") : stdout;
    if (!out) return Usage("cannot create the output file");

    Noise noise(o.seed);
    const double metresPerDegree = 111320.0;
    const double cosLat = std::cos(o.latitude * 3.14159265358979323846 / 180.0);
    // Correlated position error, as receivers show: a first-order random walk.
    const double keep = 0.98, fresh = std::sqrt(1.0 - keep * keep);
    double north = 0, east = 0, up = 0;
    for (std::int64_t i = 0; i < o.epochs; ++i) {
        north = keep * north + fresh * o.noise * noise.Normal();
        east = keep * east + fresh * o.noise * noise.Normal();
        up = keep * up + fresh * 1.6 * o.noise * noise.Normal();
        Epoch e;
        e.timeMs = o.startMs + std::llround(periodMs * static_cast<double>(i));
        e.latitude = o.latitude + north / metresPerDegree;
        e.longitude = o.longitude + east / (metresPerDegree * cosLat);
        e.altitude = o.altitude + up;
        e.speedKnots = std::fabs(0.05 * noise.Normal());
        e.course = noise.Uniform() * 359.9;
        e.satellites = 7 + static_cast<int>(noise.Below(6));
        e.hdop = 0.6 + 0.1 * static_cast<double>(12 - e.satellites) + 0.1 * noise.Uniform();
        e.vdop = e.hdop * 1.4;
        e.pdop = std::sqrt(e.hdop * e.hdop + e.vdop * e.vdop);

        switch (o.kind) {
        case Kind::Nmea:
            WriteNmeaEpoch(line, o, e, i, noise);
            break;
        case Kind::Csv:
            WriteCsvEpoch(line, o, e, i);
            break;
        case Kind::Pos:
            WritePosEpoch(line, o, e, i);
            break;
        }
        if (line.Size() >= (1 << 20)) {
            std::fwrite(line.Text().data(), 1, line.Size(), out);
            line.Clear();
        }
    }
    std::fwrite(line.Text().data(), 1, line.Size(), out);
    const bool failed = std::ferror(out) != 0;
    if (out != stdout)
        std::fclose(out);
    else
        std::fflush(out);
    return failed ? 1 : 0;
}
