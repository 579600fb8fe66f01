#include "fixdata/FixRecord.h"

#include <cstring>

namespace fixtally {

namespace {
template <typename T> void Put(std::byte* out, std::size_t offset, T value) {
    std::memcpy(out + offset, &value, sizeof value);
}
template <typename T> T Get(const std::byte* in, std::size_t offset) {
    T value;
    std::memcpy(&value, in + offset, sizeof value);
    return value;
}
} // namespace

void EncodeFixRecord(const FixRecord& r, std::byte* out) {
    namespace o = record_offset;
    Put(out, o::Time, r.Time);
    Put(out, o::Latitude, r.Latitude);
    Put(out, o::Longitude, r.Longitude);
    Put(out, o::Altitude, r.Altitude);
    Put(out, o::Hdop, r.Hdop);
    Put(out, o::Vdop, r.Vdop);
    Put(out, o::Pdop, r.Pdop);
    Put(out, o::Speed, r.Speed);
    Put(out, o::SatsUsed, r.SatsUsed);
    Put(out, o::FixQuality, r.FixQuality);
    Put(out, o::SatsExtra, r.SatsExtra);
    Put(out, o::DgpsFlag, r.DgpsFlag);
}

FixRecord DecodeFixRecord(const std::byte* in) {
    namespace o = record_offset;
    FixRecord r;
    r.Time = Get<double>(in, o::Time);
    r.Latitude = Get<double>(in, o::Latitude);
    r.Longitude = Get<double>(in, o::Longitude);
    r.Altitude = Get<double>(in, o::Altitude);
    r.Hdop = Get<double>(in, o::Hdop);
    r.Vdop = Get<double>(in, o::Vdop);
    r.Pdop = Get<double>(in, o::Pdop);
    r.Speed = Get<double>(in, o::Speed);
    r.SatsUsed = Get<std::uint8_t>(in, o::SatsUsed);
    r.FixQuality = Get<char16_t>(in, o::FixQuality);
    r.SatsExtra = Get<std::uint8_t>(in, o::SatsExtra);
    r.DgpsFlag = Get<std::uint8_t>(in, o::DgpsFlag);
    return r;
}

} // namespace fixtally
