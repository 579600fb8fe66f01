#include "cli/JsonResults.h"

#include "app/Program.h"

namespace fixtally {

Json JsonResults(const Program& program) {
    const MainWindowModel& main = program.Main;
    Json out = Json::object();
    for (const ResultField& field : ResultFields()) out[field.Name] = main.*field.Text;
    out["GroupBox2drms"] = main.GroupBox2drms;
    out["LabelDgps"] = main.LabelDgps;
    out["LabelFS"] = program.Graph.LabelFS;
    out["StatusPanel0"] = main.StatusPanel0;
    out["StatusPanel1"] = main.StatusPanel1;
    out["LabelStatus"] = main.LabelStatus;
    out["CsvProfile"] = program.Log.CsvProfile;
    out["RecordCount"] = program.Store.Count();
    const GeoPoint& ref = program.Results.ReferencePoint;
    Json point = Json::object();
    point["Latitude"] = ref.Latitude;
    point["Longitude"] = ref.Longitude;
    point["Altitude"] = ref.Altitude;
    point["UseTrueReference"] = program.Results.UseTrueReference;
    out["ReferencePoint"] = std::move(point);
    return out;
}

} // namespace fixtally
