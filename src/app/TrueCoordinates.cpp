#include "app/TrueCoordinates.h"

#include "app/Program.h"
#include "convert/Conversions.h"

#include <cmath>

namespace fixtally {

bool ReadTrueCoordinates(Program& program) {
    GeoPoint& point = program.Results.TruePoint;
    point.Longitude = CoordinateFromText(program.Settings.TrueLon);
    point.Latitude = CoordinateFromText(program.Settings.TrueLat);
    point.Altitude = AltitudeFromText(program.Settings.TrueAlt);
    if (std::isnan(point.Longitude) || std::isnan(point.Latitude) || std::isnan(point.Altitude)) {
        program.Ui.ShowMessage(TrueCoordinatesMessage, MessageKind::Warning, ButtonOk);
        return true;
    }
    return false;
}

} // namespace fixtally
