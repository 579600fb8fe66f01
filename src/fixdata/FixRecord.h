#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace fixtally {

inline constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// A dilution of precision as a record keeps it: a negative or infinite one (a checksummed
// "-1e308" passes every limit) is no value, as an empty field is.
inline double DopOrAbsent(double value) {
    return value >= 0 && value <= std::numeric_limits<double>::max() ? value : NaN;
}

// One position fix. In the store it is a packed little-endian block of
// FixRecordSize bytes; FixQuality sits at the odd offset 65.
struct FixRecord {
    double Time = 0;        // day number since 1899-12-30 UTC; 0 = no time, 0..1 = time of day only
    double Latitude = NaN;  // degrees, north positive
    double Longitude = NaN; // degrees, east positive
    double Altitude = NaN;  // metres
    double Hdop = NaN;
    double Vdop = NaN;
    double Pdop = NaN;
    double Speed = NaN;          // knots
    std::uint8_t SatsUsed = 255; // 255 = absent
    char16_t FixQuality = u' ';  // '0'..'8', space = unknown
    std::uint8_t SatsExtra = 255;
    std::uint8_t DgpsFlag = 0;
};

inline constexpr std::size_t FixRecordSize = 69;

namespace record_offset {
inline constexpr std::size_t Time = 0, Latitude = 8, Longitude = 16, Altitude = 24, Hdop = 32,
                             Vdop = 40, Pdop = 48, Speed = 56, SatsUsed = 64, FixQuality = 65,
                             SatsExtra = 67, DgpsFlag = 68;
}

static_assert(std::endian::native == std::endian::little,
              "the fix store layout is little-endian; add byte swapping for this host");

// Writes the record as its FixRecordSize-byte block.
void EncodeFixRecord(const FixRecord& record, std::byte* out);
// Reads a record from its FixRecordSize-byte block.
FixRecord DecodeFixRecord(const std::byte* in);

} // namespace fixtally
