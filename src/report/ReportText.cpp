#include "report/ReportText.h"

#include "convert/Conversions.h"

#include <string_view>

namespace fixtally {

namespace {

// Captions of the main window's labels; only LabelDgps and the spread group change.
constexpr std::string_view LabelHori = "Horizontal";
constexpr std::string_view LabelAlt = "Altitude";
constexpr std::string_view LabelEW = "East-West";
constexpr std::string_view LabelNS = "North-South";
constexpr std::string_view LabelLat = "Latitude";
constexpr std::string_view LabelLon = "Longitude";
constexpr std::string_view LabelAlta = "Altitude";
constexpr std::string_view Label_HP = "Horizontal";
constexpr std::string_view Label_AP = "Altitude";
constexpr std::string_view LabelHdop = "HDOP";
constexpr std::string_view LabelVdop = "VDOP";
constexpr std::string_view LabelPdop = "PDOP";
constexpr std::string_view LabelUSat = "Used Sat";
constexpr std::string_view LabelHORd = "Horizontal";
constexpr std::string_view LabelALTd = "Altitude";
constexpr std::string_view LabelEWd = "East-West";
constexpr std::string_view LabelNSd = "North-South";
constexpr std::string_view LabelLATt = "Latitude";
constexpr std::string_view LabelLONt = "Longitude";

constexpr std::string_view LineEnd = "\r\n";

class ReportWriter {
public:
    void Line(std::string_view text = {}) {
        out_.append(text);
        out_.append(LineEnd);
    }
    // "  " + caption + separator + value
    void Field(std::string_view caption, std::string_view separator, std::string_view value) {
        out_.append("  ").append(caption).append(separator).append(value).append(LineEnd);
    }
    void Statistics(std::string_view caption, const std::string& ave, const std::string& min,
                    const std::string& max) {
        out_.append("  ").append(caption).append(": ").append(ave);
        out_.append("  ").append(min).append("  ").append(max).append(LineEnd);
    }
    std::string Take() { return std::move(out_); }

private:
    std::string out_;
};

} // namespace

std::string BuildReportText(const MainWindowModel& m, bool useTrue, std::string_view logFileName,
                            const Settings& settings) {
    ReportWriter r;

    r.Line(useTrue ? "True coordinates standard." : "Average coordinates standard.");
    r.Line();
    r.Line("Input file");
    r.Field(logFileName, "", "");
    r.Line();
    r.Line(TrimText(m.GroupBox2drms));
    r.Field(LabelHori, ":  ", m.tCenterEditH2drms);
    r.Field(LabelAlt, ":    ", m.tCenterEditAlt2drms);
    r.Field(LabelEW, ":   ", m.tCenterEditEW2drms);
    r.Field(LabelNS, ": ", m.tCenterEditNS2drms);
    r.Line();
    r.Line("Average");
    r.Field(LabelLat, ":  ", m.tCenterEditLatAve);
    r.Field(LabelLon, ": ", m.tCenterEditLonAve);
    r.Field(LabelAlta, ":  ", m.tCenterEditAltAve);
    r.Field(m.LabelDgps, ":      ", m.tCenterEditDgpsP);
    r.Line();
    r.Line("Peak of error");
    r.Field(Label_HP, ": ", m.tCenterEditHP);
    r.Field(Label_AP, ":   ", m.tCenterEditAP);
    r.Line();
    r.Line("Statistics(Ave, Min, Max)");
    r.Statistics(LabelHdop, m.tCenterEditHdopAve, m.tCenterEditHdopMin, m.tCenterEditHdopMax);
    r.Statistics(LabelVdop, m.tCenterEditVdopAve, m.tCenterEditVdopMin, m.tCenterEditVdopMax);
    r.Statistics(LabelPdop, m.tCenterEditPdopAve, m.tCenterEditPdopMin, m.tCenterEditPdopMax);
    r.Statistics(LabelUSat, m.tCenterEditSuAve, m.tCenterEditSuMin, m.tCenterEditSuMax);
    r.Line();

    if (useTrue) {
        r.Line("Difference between average and true");
        r.Field(LabelHORd, ":  ", m.tCenterEditHorDiff);
        r.Field(LabelALTd, ":    ", m.tCenterEditAltDiff);
        r.Field(LabelEWd, ":   ", m.tCenterEditEwDiff);
        r.Field(LabelNSd, ": ", m.tCenterEditNsDiff);
        r.Line();
        r.Line("True coodinates");
        r.Field(LabelLATt, ":  ", settings.TrueLat);
        r.Field(LabelLONt, ": ", settings.TrueLon);
        // The difference group's "Altitude", not the true-coordinate group's "Alt.".
        r.Field(LabelALTd, ":  ", settings.TrueAlt);
        r.Line();
    }

    r.Line(m.LabelStatus);
    r.Line();
    return r.Take();
}

} // namespace fixtally
