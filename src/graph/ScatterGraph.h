#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace fixtally {

// Picture geometry: 311 x 311 pixels, the reference at the centre pixel
// (155, 155); 155 pixels stand for GraphRange metres.
inline constexpr int GraphSize = 311;
inline constexpr int GraphCentre = 155;
inline constexpr int ColourBarHeight = 5;

// Fixes per cell. 32-bit so that a cell holding more than 65535 fixes keeps
// its true count instead of wrapping to a near-empty shade.
using GraphCounter = std::uint32_t;

// The density grid and everything needed to draw the graph from it. The front
// ends render the pictures from this alone.
struct ScatterGraph {
    // Counters in picture order: cell (north, east) at index y * GraphSize + x
    // with x = 155 + east, y = 155 - north.
    std::vector<GraphCounter> Cells = std::vector<GraphCounter>(GraphSize * GraphSize, 0);
    GraphCounter CountMin = 2147483647; // smallest non-zero counter
    GraphCounter CountMax = 0;          // largest counter
    bool HasDots = false;               // the grid was filled around a reference

    double GraphRange = 0.1;      // metres for 155 pixels
    std::string LabelFS = "10cm"; // the range label under the picture

    int DotSide = 3; // dot side in pixels and its offsets lo..hi around the cell pixel
    int DotLo = -1;
    int DotHi = 1;
    int Brightest = 200; // grey level B of the least occupied cells
    int Darkest = 20;    // grey level D of the most occupied cells
    bool Monotone = false;

    unsigned Revision = 0; // bumped by every drawing, so front ends know to repaint
};

struct DotSize {
    int Side = 3;
    int Lo = -1;
    int Hi = 1;
};

struct ShadingLevels {
    int Brightest = 200;
    int Darkest = 20;
};

// Dot side from the "Pixels" text: integer part of the square root, 1..8; an
// out-of-range number rewrites the text to "1" or "64", a text that is not a
// number gives side 3 and stays.
DotSize ReadDotSize(std::string& pixelsText);

// B and D from the "Brightest" and "Darkest" texts: clamped to 0..255, swapped
// when B < D, spread to at least 5 apart; both texts rewritten.
ShadingLevels ReadShadingLevels(std::string& brightestText, std::string& darkestText);

// Empties the grid (counters, extremes, HasDots).
void ClearGrid(ScatterGraph& graph);

// Counts one fix given its signed offsets from the reference in pixels (north
// up, east right). Offsets round to the nearest pixel, halves to even; a fix
// whose rounded offset reaches 155 on either axis is outside. True when counted.
bool AddFixToGrid(ScatterGraph& graph, double northPixels, double eastPixels);

// Index into Cells for the given offsets, or -1 when the fix is outside.
inline long GridCellIndex(double northPixels, double eastPixels) {
    // Halves to even under the default rounding mode; NaN fails both tests.
    const double north = std::nearbyint(northPixels);
    const double east = std::nearbyint(eastPixels);
    if (!(std::fabs(north) < GraphCentre && std::fabs(east) < GraphCentre)) return -1;
    return static_cast<long>(GraphCentre - north) * GraphSize +
           static_cast<long>(GraphCentre + east);
}

// Sets CountMin and CountMax from the counters and marks the grid as drawn.
void FinishGrid(ScatterGraph& graph);

// Grey level of a cell holding count fixes (count > 0): D when every
// occupied cell holds the same count, otherwise B - (count - min)(B - D) div (max - min).
int CellLevel(const ScatterGraph& graph, GraphCounter count);

} // namespace fixtally
