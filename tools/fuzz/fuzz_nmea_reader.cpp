// Any bytes as an NMEA log: both passes of the reader end without a fault, and every
// stored record has a position and a time.

#include "FuzzFile.h"

#include "app/Program.h"
#include "app/LogLoading.h"
#include "input/nmea/NmeaReader.h"
#include "platform/HeadlessPlatform.h"

#include <cmath>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzFile file;
    fixtally::HeadlessPlatform ui;
    ui.TaskbarMax = 128;
    fixtally::Program program(ui);
    program.Log.LogFileName = file.Write(data, size);
    bool done = false;
    const int result = fixtally::ReadNmeaPasses(program, done);
    if (result < 0) __builtin_trap();
    if (static_cast<std::size_t>(result) != program.Store.Count()) __builtin_trap();
    for (std::size_t i = 0; i < program.Store.Count(); ++i) {
        const fixtally::FixRecord r = program.Store.At(i);
        if (std::isnan(r.Latitude) || std::isnan(r.Longitude) || r.Time == 0) __builtin_trap();
    }
    return 0;
}
