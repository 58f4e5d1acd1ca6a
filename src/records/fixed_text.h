#pragma once
// Zero-terminated text in a fixed field, as the instrument's records hold names and codes.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "records/default_names.h"

namespace theolink {

template <std::size_t FieldSize>
class FixedText {
  static_assert(FieldSize > 1);

 public:
  static constexpr std::size_t Capacity = FieldSize - 1;

  FixedText() = default;
  // Stores at most Capacity characters; a longer text is cut.
  FixedText(std::string_view text) { Assign(text); }  // NOLINT(google-explicit-constructor)

  void Assign(std::string_view text) {
    const std::size_t n = std::min(text.size(), Capacity);
    if (n > 0) std::memcpy(data_, text.data(), n);  // an empty view may hold no pointer
    std::memset(data_ + n, 0, FieldSize - n);
  }
  // The text up to its terminating zero (a zero byte inside ends it early).
  std::string_view View() const {
    // Names are read for every row a writer makes; a short field is scanned in line, as a
    // library call costs more than the few bytes it looks at.
    if constexpr (FieldSize <= 32) {
      std::size_t n = 0;
      while (n < Capacity && data_[n] != '\0') ++n;
      return std::string_view(data_, n);
    } else {
      return std::string_view(data_, ::strnlen(data_, Capacity));
    }
  }
  std::string Str() const { return std::string(View()); }
  bool Empty() const { return data_[0] == '\0'; }

  friend bool operator==(const FixedText& a, const FixedText& b) { return a.View() == b.View(); }

 private:
  char data_[FieldSize] = {};
};

inline constexpr std::size_t NameFieldSize = 16;   // names and codes: at most 15 characters
inline constexpr std::size_t NoteFieldSize = 257;  // NOTE text: at most 255 are stored

using NameText = FixedText<NameFieldSize>;
using NoteText = FixedText<NoteFieldSize>;

// A point name as every writer and view shows it: kNoName when empty.
inline std::string ShownName(const NameText& name) { return name.Empty() ? std::string(kNoName) : name.Str(); }
inline std::string_view ShownNameView(const NameText& name) { return name.Empty() ? kNoName : name.View(); }

}  // namespace theolink
