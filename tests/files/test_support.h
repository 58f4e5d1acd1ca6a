#pragma once
// Small builders shared by the files-layer tests.
#include <string>
#include <string_view>

#include "files/working_data.h"
#include "records/line_list.h"
#include "records/measure_record.h"

namespace theolink::test {

inline NameText N(const char* text) { return NameText(std::string_view(text)); }

inline MeasureRecord Station(const char* name, const char* code, double x, double y, double z) {
  MeasureRecord r;
  r.Kind = KindStation;
  r.Station = StationBody{N(name), N(code), 1.5, x, y, z};
  return r;
}

inline MeasureRecord SlopeShot(const char* name, const char* code, double hz, double v, double sd) {
  MeasureRecord r;
  r.Kind = KindSlopeShot;
  r.SlopeShot = SlopeShotBody{N(name), N(code), 1.5, hz, v, sd};
  return r;
}

inline MeasureRecord CoordShot(const char* name, const char* code, double n, double e, double z) {
  MeasureRecord r;
  r.Kind = KindCoordShot;
  r.CoordShot = CoordShotBody{N(name), N(code), 1.3, n, e, z, 0, 0, 0, 0};
  return r;
}

inline MeasureRecord Backsight(const char* name, double hz, double v, double sd) {
  MeasureRecord r;
  r.Kind = KindBacksight;
  r.Backsight = BacksightBody{N(name), 1.6, hz, v, sd, 0, 0, 0, 0};
  return r;
}

inline PointRecord Point(const char* name, const char* code, double n, double e, double z) {
  PointRecord p;
  p.Name = N(name);
  p.Code = N(code);
  p.North = n;
  p.East = e;
  p.Elevation = z;
  return p;
}

// Working data holding one point and one code, to see that failed loads leave it alone.
inline WorkingData Sentinel() {
  WorkingData d;
  d.PointList.push_back(Point("KEEP", "K", 1, 2, 3));
  d.DataKind = DataKind::Coord;
  return d;
}

}  // namespace theolink::test
