#pragma once
// A transfer view that remembers what it was asked to show.
#include <map>
#include <optional>
#include <vector>

#include "serial/transfer_view.h"

namespace theolink::test {

class RecordingView final : public TransferView {
 public:
  void ShowStatus(TextId message) override { statuses.push_back(message); }
  void ShowCounter(TextId prefix, int value) override { counter = {prefix, value}; }
  void EnableControl(TransferControl control, bool enabled) override { controls[control] = enabled; }
  void ShowMessage(TextId message) override { messages.push_back(message); }
  void ShowSendCut(const SendCut& cut) override { cuts.push_back(cut); }
  void RefreshViews() override { ++refreshes; }

  std::optional<TextId> LastStatus() const {
    return statuses.empty() ? std::nullopt : std::optional<TextId>(statuses.back());
  }
  bool EverShown(TextId status) const {
    for (TextId s : statuses)
      if (s == status) return true;
    return false;
  }

  std::vector<TextId> statuses;
  std::pair<TextId, int> counter{TextId::TotalPrefix, 0};
  std::map<TransferControl, bool> controls;
  std::vector<TextId> messages;
  std::vector<SendCut> cuts;
  int refreshes = 0;
};

}  // namespace theolink::test
