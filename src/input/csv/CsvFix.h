#pragma once

#include "fixdata/FixRecord.h"
#include "input/csv/CsvLayout.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace fixtally {

class LogLineReader;
struct LoadedLog;

// The values of one accepted CSV data line.
struct CsvFixValues {
    double Time = 0; // day number, 0 when the line has no readable time
    double Latitude = 0;
    double Longitude = 0;
    double Height = NaN; // in the file's unit
    double Speed = 0;    // in the file's unit
    double Hdop = NaN;
    double Vdop = NaN;
    double Pdop = NaN;
    std::uint8_t Satellites = 255;
    char16_t Quality = u' ';
};

// Decodes the data lines of one CSV file with its recognised header. Keeps its work
// buffers between lines, so decoding allocates nothing once they have grown.
class CsvLineDecoder {
public:
    // leapSecond: seconds GPS time is ahead of UTC. log: IsRtklibLog is read, the
    // position and altitude decimals are raised as lines are decoded.
    CsvLineDecoder(const ColumnMap& map, const ProfileParams& params, int leapSecond,
                   LoadedLog& log);

    // Decodes one line; true when it is accepted as a fix. previousTime is the time of
    // the last stored fix (0 before the first).
    bool DecodeLine(std::string_view line, double previousTime, CsvFixValues& values);

private:
    std::string_view Field(CsvRole role) const;
    bool DecodeTime(double& time);
    void ShiftToUtc(double& time);
    double LocalToUtc(double localTime);

    const ColumnMap& map_;
    const ProfileParams& params_;
    double leapDays_;
    LoadedLog& log_;

    std::string spaced_, normalised_;
    CsvFields fields_;
    int fieldCount_ = 0;
    std::string date_, time_, joined_, iso_, monthFirst_;
    std::string rtklibLine_; // a line of an RTKLIB solution brought into the plain form
    // The local offset of the last quarter hour asked for: local times change their
    // offset only at daylight-saving changes.
    double offsetSlot_ = -1;
    double offset_ = 0;
};

// Reads lines until one is accepted; false when the end of the log comes first.
bool ReadCsvFix(LogLineReader& reader, CsvLineDecoder& decoder, double previousTime,
                CsvFixValues& values);

// The fix record of an accepted line: altitude in metres, speed in knots.
FixRecord FixRecordFromCsv(const CsvFixValues& values, const ColumnMap& map,
                           const ProfileParams& params);

} // namespace fixtally
