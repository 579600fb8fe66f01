#pragma once

namespace fixtally {

struct Program;

inline constexpr const char* TrueCoordinatesMessage = "Please set \"True coordinates\" correctly. ";

// Reads TruePoint from the true-coordinate edits (TrueLat, TrueLon, TrueAlt). All three
// are required: when any does not convert, TruePoint keeps the NaN, the user is told
// (TrueCoordinatesMessage) and the result is true (failed).
bool ReadTrueCoordinates(Program& program);

} // namespace fixtally
