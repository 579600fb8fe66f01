#include "cli/AccuracyOutput.h"

#include "display/FixedText.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace fixtally {

Json AccuracyJson(const AccuracyFigures& f) {
    Json w = Json::object();
    w["cep50"] = f.Cep50;
    w["cep95"] = f.Cep95;
    w["cep99"] = f.Cep99;
    w["vertical50"] = f.Vertical50;
    w["vertical95"] = f.Vertical95;
    w["error3d50"] = f.Error3d50;
    w["error3d95"] = f.Error3d95;
    w["east_mean"] = f.EastMean;
    w["east_sd"] = f.EastSd;
    w["north_mean"] = f.NorthMean;
    w["north_sd"] = f.NorthSd;
    w["up_mean"] = f.UpMean;
    w["up_sd"] = f.UpSd;
    w["horizontal_rms"] = f.HorizontalRms;
    w["fixes"] = f.Fixes;
    w["fixes_with_altitude"] = f.FixesWithAltitude;
    return w;
}

namespace {

struct Row {
    const char* Label;
    double Value;
    bool WithDeviation; // the mean of signed offsets, shown with their deviation
    double Deviation;
    long long Fixes;
    const char* Over;
};

std::string Metres(double value, int decimals) {
    return std::isnan(value) ? std::string("-") : FixedText(value, decimals) + "m";
}

} // namespace

std::string AccuracyBlock(const AccuracyFigures& f, int decimals) {
    const long long n = f.Fixes, m = f.FixesWithAltitude;
    const Row rows[] = {
        {"CEP50 (empirical)", f.Cep50, false, NaN, n, "fixes"},
        {"CEP95 (empirical)", f.Cep95, false, NaN, n, "fixes"},
        {"CEP99 (empirical)", f.Cep99, false, NaN, n, "fixes"},
        {"Vertical 50%", f.Vertical50, false, NaN, m, "fixes with altitude"},
        {"Vertical 95%", f.Vertical95, false, NaN, m, "fixes with altitude"},
        {"3D error 50%", f.Error3d50, false, NaN, m, "fixes with altitude"},
        {"3D error 95%", f.Error3d95, false, NaN, m, "fixes with altitude"},
        {"East mean, sd", f.EastMean, true, f.EastSd, n, "fixes"},
        {"North mean, sd", f.NorthMean, true, f.NorthSd, n, "fixes"},
        {"Up mean, sd", f.UpMean, true, f.UpSd, m, "fixes with altitude"},
        {"Horizontal RMS", f.HorizontalRms, false, NaN, n, "fixes"},
    };
    std::string values[std::size(rows)];
    std::size_t labelWidth = 0, valueWidth = 0;
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& r = rows[i];
        values[i] = Metres(r.Value, decimals);
        if (r.WithDeviation) values[i] += ", " + Metres(r.Deviation, decimals);
        labelWidth = std::max(labelWidth, std::string_view(r.Label).size());
        valueWidth = std::max(valueWidth, values[i].size());
    }
    std::string out = "Empirical accuracy (nearest rank over the accepted fixes, not the "
                      "report's CEP(50%))\r\n";
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        std::string line = "  ";
        line += rows[i].Label;
        line += ':';
        line.append(labelWidth - std::string_view(rows[i].Label).size() + 1, ' ');
        std::string value = values[i];
        PadLeft(value, valueWidth);
        line += value;
        line += "  " + std::to_string(rows[i].Fixes) + " " + rows[i].Over;
        out += line + "\r\n";
    }
    return out;
}

} // namespace fixtally
