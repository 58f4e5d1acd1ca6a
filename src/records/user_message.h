#pragma once
// What a user reads about an outcome, in one shape for the window and the command line.
#include <optional>
#include <string>
#include <vector>

#include "records/text_id.h"

namespace theolink {

// Nothing to read (success), a text of the bilingual table, or a fixed English text where
// the behaviour has one of its own; with what goes beside it (the file, the system's reason).
struct UserMessage {
  int Code = 0;                   // the outcome's own result code, where it has one
  std::optional<TextId> Id;       // the table text
  std::string Text;               // the fixed text, when there is no table text
  std::string Caption;            // empty: the application's title
  std::vector<std::string> Args;  // shown after the text, in order

  bool Empty() const { return !Id && Text.empty(); }
  friend bool operator==(const UserMessage&, const UserMessage&) = default;
};

inline UserMessage TableMessage(TextId id, std::vector<std::string> args = {}) {
  return UserMessage{0, id, {}, {}, std::move(args)};
}
inline UserMessage FixedMessage(std::string text, std::string caption = {}) {
  return UserMessage{0, std::nullopt, std::move(text), std::move(caption), {}};
}

}  // namespace theolink
