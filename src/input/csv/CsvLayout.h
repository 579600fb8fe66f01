#pragma once

#include <array>
#include <string>
#include <string_view>

namespace fixtally {

// The fifteen column roles of a CSV log, in the order in which header words are
// compared with their alias lists.
enum class CsvRole : int {
    RCR,
    Date,
    Time,
    Valid,
    Latitude,
    NS,
    Longitude,
    EW,
    Height,
    Speed,
    HDOP,
    VDOP,
    PDOP,
    Nsat,
    Geoid,
};
inline constexpr int CsvRoleCount = 15;

// How the header line was written; data lines are split accordingly.
enum HeaderForm : int {
    HeaderPlain = 0,      // commas or runs of spaces
    HeaderPercent = 1,    // "%" title line: date and time are one field
    HeaderSpacedDate = 2, // "*YYYY MM DD": the date is three space-separated numbers
};

// At most this many fields are split from a line; the last keeps further commas.
inline constexpr int MaxCsvFields = 25;

// Fields of one line as views into the line (or into a normalised copy of it).
using CsvFields = std::array<std::string_view, MaxCsvFields>;

// The position columns of an RTKLIB solution file, named by its column title line.
enum class RtklibPositions : int {
    None,    // not an RTKLIB solution file (no RTKLIB title line seen)
    Degrees, // latitude(deg) longitude(deg) height(m)
    Dms,     // latitude(d'") longitude(d'") height(m): degrees, minutes, seconds
    Ecef,    // x-ecef(m) y-ecef(m) z-ecef(m)
    Enu,     // e-baseline(m) n-baseline(m) u-baseline(m) from the "% ref pos" position
    Unknown, // an RTKLIB title line with other position columns
};

// What the header of an RTKLIB solution file says about its data lines.
struct RtklibLayout {
    RtklibPositions Positions = RtklibPositions::None;
    std::string TimeTitle; // "GPST", "UTC" or "JST", as written
    // The "% ref pos" comment: latitude and longitude in degrees and height in metres
    // (ellipsoidal); the reference of e/n/u baselines.
    bool HasReference = false;
    double RefLatitude = 0, RefLongitude = 0, RefHeight = 0;
};

// The recognised header of one CSV file.
struct ColumnMap {
    std::array<int, CsvRoleCount> Positions{}; // 1-based field index per role, 0 = absent
    HeaderForm Form = HeaderPlain;
    bool Gpst = false; // the Date column is titled exactly "GPST": times are GPS time
    bool Jst = false;  // the Date column is titled exactly "JST": times are UTC + 9 h
    int FieldCount = 0;
    std::array<std::string, MaxCsvFields> HeaderFields; // upper case, of the last line examined
    std::string ProfileName;
    RtklibLayout Rtklib; // Positions None for every other log

    int& operator[](CsvRole role) { return Positions[static_cast<int>(role)]; }
    int operator[](CsvRole role) const { return Positions[static_cast<int>(role)]; }
    bool Has(CsvRole role) const { return (*this)[role] > 0; }
};

// Parameters of a logger profile, decoded from its CSV_Option value.
struct ProfileParams {
    bool AddLocalOffset = false;       // times are local times of this computer
    int Reserved = 0;                  // second item: read and kept, no effect
    bool SkipMidnightBackstep = false; // drop a 00:00:00 line that steps back in time
    int SpeedUnit = 0;                 // 1 mph, 2 knots, anything else km/h
    bool HeightInFeet = false;
    bool MergeRepeats = false; // a line repeating the last time and position adds no fix
    double SpeedFactor = 0;    // when not 0, the converted speed is multiplied by it
};

} // namespace fixtally
