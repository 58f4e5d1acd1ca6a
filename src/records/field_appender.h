#pragma once
// Fields appended to a line being built, joined by ',': texts as they are, angles and
// distances in the forms given, straight into the line without a string per value. The
// writer deriving from it (Self) adds its own field kinds and chains them with these.
#include <string>
#include <string_view>

#include "records/value_forms.h"

namespace theolink {

template <class Self>
class FieldAppender {
 public:
  Self& Text(std::string_view field) {
    Separate();
    line_ += field;
    return Chain();
  }
  Self& Angle(double degrees) {
    Separate();
    AppendAngle(line_, degrees, angleForm_);
    return Chain();
  }
  Self& Distance(double metres) {
    Separate();
    AppendDistance(line_, metres, distanceForm_);
    return Chain();
  }

 protected:
  FieldAppender(std::string& line, int angleForm, int distanceForm)
      : line_(line), angleForm_(angleForm), distanceForm_(distanceForm) {}

  // The next field is the first of a run: no ',' before it.
  void Restart() { first_ = true; }
  void Separate() {
    if (!first_) line_ += ',';
    first_ = false;
  }
  Self& Chain() { return static_cast<Self&>(*this); }

  std::string& line_;

 private:
  int angleForm_, distanceForm_;
  bool first_ = true;
};

}  // namespace theolink
