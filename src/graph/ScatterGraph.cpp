#include "graph/ScatterGraph.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace fixtally {
namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// A whole decimal integer (optional sign, surrounding blanks allowed).
bool ParseWholeInt(std::string_view text, long long& value) {
    text = Trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// Integer text, 0 when it is not an integer within 32 bits.
int IntOrZero(std::string_view text) {
    long long value = 0;
    if (!ParseWholeInt(text, value) || value < -2147483648LL || value > 2147483647LL) return 0;
    return static_cast<int>(value);
}

std::string IntText(int value) {
    char buffer[16];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, end);
}

} // namespace

DotSize ReadDotSize(std::string& pixelsText) {
    DotSize dot;
    long long pixels = 0;
    if (!ParseWholeInt(pixelsText, pixels) || pixels < 0 || pixels > 2147483647LL) {
        dot.Side = 3;
    } else {
        // Integer square root without floating-point doubt at perfect squares.
        long long side = static_cast<long long>(std::sqrt(static_cast<double>(pixels)));
        while (side * side > pixels) --side;
        while ((side + 1) * (side + 1) <= pixels) ++side;
        if (side < 1) {
            side = 1;
            pixelsText = "1";
        } else if (side > 8) {
            side = 8;
            pixelsText = "64";
        }
        dot.Side = static_cast<int>(side);
    }
    dot.Hi = dot.Side / 2;
    dot.Lo = dot.Hi - dot.Side + 1;
    return dot;
}

ShadingLevels ReadShadingLevels(std::string& brightestText, std::string& darkestText) {
    int brightest = std::clamp(IntOrZero(brightestText), 0, 255);
    int darkest = std::clamp(IntOrZero(darkestText), 0, 255);
    if (brightest < darkest) std::swap(brightest, darkest);
    if (brightest - darkest < 5) {
        if (brightest < 20)
            brightest += 10;
        else
            darkest -= 10;
    }
    brightestText = IntText(brightest);
    darkestText = IntText(darkest);
    return {brightest, darkest};
}

void ClearGrid(ScatterGraph& graph) {
    std::fill(graph.Cells.begin(), graph.Cells.end(), 0);
    graph.CountMin = 2147483647;
    graph.CountMax = 0;
    graph.HasDots = false;
}

bool AddFixToGrid(ScatterGraph& graph, double northPixels, double eastPixels) {
    const long cell = GridCellIndex(northPixels, eastPixels);
    if (cell < 0) return false;
    GraphCounter& counter = graph.Cells[static_cast<std::size_t>(cell)];
    if (counter != UINT32_MAX) ++counter; // saturate rather than wrap
    return true;
}

void FinishGrid(ScatterGraph& graph) {
    GraphCounter low = 2147483647, high = 0;
    for (const GraphCounter count : graph.Cells) {
        if (count == 0) continue;
        high = std::max(high, count);
        low = std::min(low, count);
    }
    graph.CountMin = low;
    graph.CountMax = high;
    graph.HasDots = true;
}

int CellLevel(const ScatterGraph& graph, GraphCounter count) {
    const long long b = graph.Brightest, d = graph.Darkest;
    if (graph.CountMax == graph.CountMin) return static_cast<int>(d);
    const long long span = static_cast<long long>(graph.CountMax) - graph.CountMin;
    const long long above = static_cast<long long>(count) - graph.CountMin;
    return static_cast<int>(b - above * (b - d) / span);
}

} // namespace fixtally
