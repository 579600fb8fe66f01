#include "input/csv/CsvFix.h"

#include "convert/Conversions.h"
#include "fixdata/LoadedLog.h"
#include "input/LogLineReader.h"
#include "input/csv/CsvFieldForms.h"
#include "input/csv/CsvNumber.h"
#include "input/csv/CsvSplit.h"
#include "input/csv/RtklibForms.h"
#include "settings/Conventions.h"

#include <algorithm>
#include <cmath>

namespace fixtally {

namespace {

void ReplaceFirst(std::string& text, char from, char to) {
    const std::size_t at = text.find(from);
    if (at != std::string::npos) text[at] = to;
}

bool Contains(std::string_view text, char c) {
    return text.find(c) != std::string_view::npos;
}

enum : unsigned { MarkSlash = 1, MarkColon = 2, MarkIsoT = 4, MarkDash = 8 };

// Which of "/", ":", "T" and "-" a date or time text holds, in one pass.
unsigned Marks(std::string_view text) {
    unsigned marks = 0;
    for (char c : text) {
        if (c == '/') {
            marks |= MarkSlash;
        } else if (c == ':') {
            marks |= MarkColon;
        } else if (c == 'T') {
            marks |= MarkIsoT;
        } else if (c == '-') {
            marks |= MarkDash;
        }
    }
    return marks;
}

// Splits "date time" at its first space into the two trimmed parts.
void SplitAtSpace(std::string& date, std::string& time, std::string& joined) {
    joined.assign(TrimText(joined));
    const std::size_t space = joined.find(' ');
    if (space == std::string::npos) {
        date.clear();
        time.assign(joined);
    } else {
        date.assign(TrimText(std::string_view(joined).substr(0, space)));
        time.assign(TrimText(std::string_view(joined).substr(space + 1)));
    }
}

} // namespace

CsvLineDecoder::CsvLineDecoder(const ColumnMap& map, const ProfileParams& params, int leapSecond,
                               LoadedLog& log)
    : map_(map), params_(params), leapDays_(leapSecond / 86400.0), log_(log) {}

std::string_view CsvLineDecoder::Field(CsvRole role) const {
    const int position = map_[role];
    if (position <= 0 || position > fieldCount_) return {};
    return fields_[position - 1];
}

double CsvLineDecoder::LocalToUtc(double localTime) {
    const double slot = std::floor(localTime * 96);
    if (slot != offsetSlot_) {
        offsetSlot_ = slot;
        offset_ = LocalOffsetAtLocal(localTime);
    }
    return localTime - offset_;
}

// Brings the Date and Time fields into one form and converts them; false when the line
// must be skipped (an ISO zone that does not convert).
bool CsvLineDecoder::DecodeTime(double& time) {
    time = 0;
    if (!map_.Has(CsvRole::Date) && !map_.Has(CsvRole::Time)) return true;
    std::string_view date = Field(CsvRole::Date);
    std::string_view clock = Field(CsvRole::Time);
    const unsigned dateMarks = Marks(date), clockMarks = Marks(clock);
    // The usual forms, "yyyy/mm/dd" or "mm/dd/yyyy" and "hh:mm:ss", need no rewriting:
    // they are read from the fields as they stand.
    if (!((dateMarks | clockMarks) & (MarkIsoT | MarkDash)) &&
        (date.empty() || (dateMarks & MarkSlash)) && (clock.empty() || (clockMarks & MarkColon))) {
        if (clock.empty()) std::swap(date, clock);
        if (date.empty()) {
            const std::size_t space = clock.find(' ');
            if (space != std::string_view::npos) {
                date = TrimText(clock.substr(0, space));
                clock = TrimText(clock.substr(space + 1));
            }
        }
        YearFirstToMonthFirst(date, monthFirst_);
        time = DateTimeFromText(monthFirst_, clock);
        ShiftToUtc(time);
        return true;
    }

    date_.assign(date);
    time_.assign(clock);

    // Year-month-day with "-": only in front of an ISO "T", so that a negative zone
    // offset behind it keeps its sign.
    const std::size_t isoT = date_.find('T');
    std::replace(date_.begin(),
                 date_.begin() + static_cast<std::ptrdiff_t>(std::min(isoT, date_.size())), '-',
                 '/');

    // Compact forms ("20140517", "103000"). An ISO text is left whole: its own
    // conversion reads compact dates and times.
    const bool compactDate = !date_.empty() && !Contains(date_, '/');
    const bool compactTime = !time_.empty() && !Contains(time_, ':');
    if ((compactDate || compactTime) && !Contains(date_, 'T') && !Contains(time_, 'T')) {
        joined_.assign(date_).append(1, ' ').append(time_);
        SplitAtSpace(date_, time_, joined_);
        // Only the compact one of the two is rearranged: a date that has its "/" or a
        // time that has its ":" already would be garbled.
        if (!Contains(date_, '/')) {
            CompactDateToSlashed(date_, iso_);
            date_.assign(iso_);
        }
        if (!Contains(time_, ':')) {
            CompactTimeToColons(time_, iso_);
            time_.assign(iso_);
        }
    }

    date_.assign(TrimText(date_));
    time_.assign(TrimText(time_));
    if (time_.empty()) std::swap(date_, time_);
    if (Contains(time_, 'T')) {
        if (!IsoToDateTimeText(time_, iso_)) return false;
        time_.assign(TrimText(iso_));
    }
    if (date_.empty() && Contains(time_, ' ')) {
        joined_.assign(time_);
        SplitAtSpace(date_, time_, joined_);
    }
    YearFirstToMonthFirst(TrimText(date_), monthFirst_);
    time = DateTimeFromText(monthFirst_, time_);
    ShiftToUtc(time);
    return true;
}

void CsvLineDecoder::ShiftToUtc(double& time) {
    // The shifts apply only to a time that converted: 0 stays "no time".
    if (time == 0) return;
    if (params_.AddLocalOffset) time = LocalToUtc(time);
    if (map_.Gpst) time -= leapDays_;
    // Japan Standard Time is nine hours ahead of UTC wherever the log is read.
    if (map_.Jst) time -= 9.0 / 24;
}

bool CsvLineDecoder::DecodeLine(std::string_view line, double previousTime, CsvFixValues& values) {
    values = CsvFixValues();
    std::string_view text = TrimText(line);
    if (text.size() < 10 || text.front() == '*') return false;
    if (map_.Rtklib.Positions != RtklibPositions::None) {
        switch (RewriteRtklibLine(text, map_.Rtklib, rtklibLine_)) {
        case RtklibLine::Skip:
            return false;
        case RtklibLine::Rewritten:
            text = rtklibLine_;
            break;
        case RtklibLine::AsItIs:
            break;
        }
    }

    if (!Contains(text, ',')) {
        if (map_.Form == HeaderSpacedDate) {
            spaced_.assign(text);
            ReplaceFirst(spaced_, ' ', '/');
            ReplaceFirst(spaced_, ' ', '/');
            text = spaced_;
        }
        text = NormaliseSeparators(text, normalised_);
        if (map_.Form == HeaderPercent) {
            // Without a comma the normalised text always lives in the buffer.
            ReplaceFirst(normalised_, ',', ' ');
            text = normalised_;
        }
    }
    fieldCount_ = SplitCsvFields(text, fields_);
    if (fieldCount_ == 0) return false;

    values.Quality = map_.Has(CsvRole::Valid)
                         ? QualityWordToDigit(Field(CsvRole::Valid), log_.IsRtklibLog)
                         : u' ';
    if (!DecodeTime(values.Time)) return false;

    const CoordinateValue latitude = ParseCoordinate(Field(CsvRole::Latitude));
    values.Latitude = latitude.Degrees;
    log_.LogPosDecimals = std::max(log_.LogPosDecimals, latitude.Decimals);
    if (map_.Has(CsvRole::NS)) {
        const std::string_view ns = Field(CsvRole::NS);
        if (ns == "S" || ns == "s") values.Latitude = -values.Latitude;
    }
    const CoordinateValue longitude = ParseCoordinate(Field(CsvRole::Longitude));
    values.Longitude = longitude.Degrees;
    log_.LogPosDecimals = std::max(log_.LogPosDecimals, longitude.Decimals);
    if (map_.Has(CsvRole::EW)) {
        const std::string_view ew = Field(CsvRole::EW);
        if (ew == "W" || ew == "w") values.Longitude = -values.Longitude;
    }

    if (map_.Has(CsvRole::Height)) {
        int decimals = 0;
        values.Height = CsvStrippedNumber(Field(CsvRole::Height), decimals);
        if (!std::isnan(values.Height)) {
            log_.LogAltDecimals = std::max(log_.LogAltDecimals, decimals);
        }
    }
    int unused = 0;
    if (map_.Has(CsvRole::Speed)) values.Speed = CsvStrippedNumber(Field(CsvRole::Speed), unused);
    if (map_.Has(CsvRole::HDOP))
        values.Hdop = DopOrAbsent(CsvStrippedNumber(Field(CsvRole::HDOP), unused));
    if (map_.Has(CsvRole::VDOP))
        values.Vdop = DopOrAbsent(CsvStrippedNumber(Field(CsvRole::VDOP), unused));
    if (map_.Has(CsvRole::PDOP))
        values.Pdop = DopOrAbsent(CsvStrippedNumber(Field(CsvRole::PDOP), unused));
    if (map_.Has(CsvRole::Nsat)) {
        const std::string_view nsat = Field(CsvRole::Nsat);
        if (!nsat.empty()) {
            // 255 means "absent": a count outside a byte is not kept.
            const int count = ParseLeadingInt(nsat);
            values.Satellites = count >= 0 && count < 255 && !LeadingIntOutOfRange(nsat)
                                    ? static_cast<std::uint8_t>(count)
                                    : 255;
        }
    }

    // A logger's placeholder position before its first fix.
    if (values.Latitude == 90 && values.Longitude == 0) return false;
    if (params_.SkipMidnightBackstep && values.Time - std::floor(values.Time) == 0 &&
        values.Time < previousTime - 1.0 / 1440) {
        return false;
    }
    return true;
}

bool ReadCsvFix(LogLineReader& reader, CsvLineDecoder& decoder, double previousTime,
                CsvFixValues& values) {
    if (reader.EndOfLog()) return false;
    while (true) {
        std::string_view line = reader.ReadLogLine();
        while (!reader.EndOfLog() && TrimText(line).empty()) line = reader.ReadLogLine();
        if (decoder.DecodeLine(line, previousTime, values)) return true;
        if (reader.EndOfLog()) return false;
    }
}

FixRecord FixRecordFromCsv(const CsvFixValues& values, const ColumnMap& map,
                           const ProfileParams& params) {
    FixRecord record;
    record.Time = values.Time;
    record.Latitude = values.Latitude;
    record.Longitude = values.Longitude;
    record.Altitude = std::isnan(values.Height)
                          ? NaN
                          : (params.HeightInFeet ? values.Height * 0.3048 : values.Height);
    record.Hdop = values.Hdop;
    record.Vdop = values.Vdop;
    record.Pdop = values.Pdop;
    record.Speed = map.Has(CsvRole::Speed) ? SpeedToKnots(values.Speed, params) : NaN;
    record.SatsUsed = values.Satellites;
    record.FixQuality = values.Quality;
    record.SatsExtra = 255;
    record.DgpsFlag = 0;
    return record;
}

} // namespace fixtally
