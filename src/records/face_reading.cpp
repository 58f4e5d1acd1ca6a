#include "records/face_reading.h"

namespace theolink {

FaceReading InFaceOne(double horizontal, double zenith) {
  if (!(zenith > 180.0)) return {horizontal, zenith, false};
  return {horizontal >= 180.0 ? horizontal - 180.0 : horizontal + 180.0, 360.0 - zenith, true};
}

}  // namespace theolink
