#pragma once

namespace fixtally {

struct Settings;

// Comparison of a fix's quality digit with the chosen value.
enum QualityOperator : int {
    QualityAtMost = 0,   // "<="
    QualityEqual = 1,    // "="
    QualityAtLeast = 2,  // ">="
    QualityNotEqual = 3, // "<>"
};

// The numbers the fix filter compares with, built from the settings by ReadFilterLimits.
struct FilterLimits {
    int NmeaOperator = QualityAtLeast; // NMEA and CSV logs
    int NmeaQuality = 1;               // 0..8
    int RtkOperator = QualityAtLeast;  // RTKLIB solution files
    int RtkQuality = 1;                // 1..6
    double HdopLimit = 100.0;          // never NaN
    double VdopLimit = 100.0;
    double PdopLimit = 100.0;
};

// low when value is below low, otherwise the smaller of value and high.
int ClampInt(int value, int low, int high);

// Converts NMEA_QS/NMEA_QU, RTK_QS/RTK_QU and the three DOP limits, writing corrected
// texts back into the settings (an unknown operator becomes ">=", an out-of-range quality
// its bound, an unreadable limit "255.0").
FilterLimits ReadFilterLimits(Settings& settings);

} // namespace fixtally
