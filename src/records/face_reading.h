#pragma once
// Readings of the two telescope faces. The reduction works in face I; a face II reading
// (telescope transited) is brought to the reading face I would have given.

namespace theolink {

struct FaceReading {
  double Horizontal;  // degrees, 0 up to 360
  double Zenith;      // degrees, 0 up, 90 level
  bool FaceTwo;       // the reading was taken in face II
};

// A zenith reading above 180 degrees is face II: its horizontal reading is turned by 180
// degrees and its zenith becomes 360 minus it. A face I reading comes back unchanged.
FaceReading InFaceOne(double horizontal, double zenith);

}  // namespace theolink
