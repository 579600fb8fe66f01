#include "input/csv/CsvProfiles.h"

#include "convert/Conversions.h"
#include "input/csv/CsvSplit.h"

#include <utility>

namespace fixtally {

namespace {} // namespace

const std::string& AliasList(const Settings::CsvItemSection& items, CsvRole role) {
    switch (role) {
    case CsvRole::RCR:
        return items.RCR;
    case CsvRole::Date:
        return items.Date;
    case CsvRole::Time:
        return items.Time;
    case CsvRole::Valid:
        return items.Valid;
    case CsvRole::Latitude:
        return items.Latitude;
    case CsvRole::NS:
        return items.NS;
    case CsvRole::Longitude:
        return items.Longitude;
    case CsvRole::EW:
        return items.EW;
    case CsvRole::Height:
        return items.Height;
    case CsvRole::Speed:
        return items.Speed;
    case CsvRole::HDOP:
        return items.HDOP;
    case CsvRole::VDOP:
        return items.VDOP;
    case CsvRole::PDOP:
        return items.PDOP;
    case CsvRole::Nsat:
        return items.Nsat;
    case CsvRole::Geoid:
        break;
    }
    return items.Geoid;
}

std::string_view ProfileValue(const std::vector<std::pair<std::string, std::string>>& list,
                              std::string_view name) {
    for (const auto& [entryName, value] : list) {
        if (EqualsIgnoringCase(entryName, name)) return value;
    }
    return {};
}

int SplitParamList(std::string_view text, std::array<std::string, 7>& items) {
    for (std::string& item : items) item.clear();
    int i = 0;
    while (!text.empty() && i < 7) {
        std::string& item = items[i];
        if (text.front() == '"') {
            text.remove_prefix(1);
            // Without a closing quote the item is read up to the next comma.
            const std::size_t quote = text.find('"');
            if (quote != std::string_view::npos) {
                item.assign(text.substr(0, quote));
                text.remove_prefix(quote + 1);
            }
        }
        const std::size_t comma = text.find(',');
        if (comma == std::string_view::npos) {
            item.append(text);
            text = {};
        } else {
            item.append(text.substr(0, comma));
            text.remove_prefix(comma + 1);
        }
        item.assign(TrimText(item));
        ++i;
    }
    return i;
}

int ScoreProfile(const std::array<std::string, MaxCsvFields>& fields, int count,
                 std::string_view words) {
    CsvFields wordFields;
    const int wordCount = SplitCsvFields(words, wordFields);
    if (wordCount == 0) return 0;
    int hits = 0;
    for (int b = 0; b < count && b < MaxCsvFields; ++b) {
        if (ListHasWord(words, fields[b])) ++hits;
    }
    return hits * 100 / wordCount;
}

std::string ChooseProfile(const Settings& settings,
                          const std::array<std::string, MaxCsvFields>& fields, int count,
                          ProfileParams& params) {
    std::string chosen = "Default";
    for (const auto& [name, words] : settings.CSV_Info) {
        if (ScoreProfile(fields, count, UpperAscii(words)) >= 80) {
            chosen = name;
            break;
        }
    }
    params = LoadProfileParams(settings, chosen);
    return chosen;
}

ProfileParams LoadProfileParams(const Settings& settings, std::string_view name) {
    std::array<std::string, 7> items;
    SplitParamList(ProfileValue(settings.CSV_Option, name), items);
    ProfileParams params;
    params.AddLocalOffset = TextToInt(items[0]) != 0;
    params.Reserved = TextToInt(items[1]);
    params.SkipMidnightBackstep = TextToInt(items[2]) != 0;
    params.SpeedUnit = TextToInt(items[3]);
    params.HeightInFeet = TextToInt(items[4]) != 0;
    params.MergeRepeats = TextToInt(items[5]) != 0;
    params.SpeedFactor = TextToZeroFloat(items[6]);
    return params;
}

} // namespace fixtally
