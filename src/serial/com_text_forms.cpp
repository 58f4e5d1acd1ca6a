#include "serial/com_text_forms.h"

#include <array>
#include <cctype>

namespace theolink {

namespace {

constexpr std::array<const char*, 3> kStop = {"1", "1.5", "2"};
constexpr std::array<const char*, 4> kData = {"5", "6", "7", "8"};
constexpr std::array<const char*, 5> kParity = {"None", "Odd", "Even", "Mark", "Space"};
constexpr std::array<const char*, 4> kFlow = {"Hardware", "Software", "None", "Custom"};

template <typename E, std::size_t N>
std::string ToStr(const std::array<const char*, N>& texts, E value) {
  const auto i = static_cast<std::size_t>(value);
  return i < N ? texts[i] : "";
}

template <typename E, std::size_t N>
E FromStr(const std::array<const char*, N>& texts, std::string_view text, E fallback) {
  for (std::size_t i = 0; i < N; ++i) {
    if (SameTextNoCase(texts[i], text)) return static_cast<E>(i);
  }
  return fallback;
}

template <std::size_t N>
std::vector<std::string> All(const std::array<const char*, N>& texts) {
  return {texts.begin(), texts.end()};
}

}  // namespace

bool SameTextNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string BaudRateToStr(TBaudRate value) {
  const auto i = static_cast<std::size_t>(value);
  if (i >= kBaudRateBps.size()) return "";
  return i == brCustom ? "Custom" : std::to_string(kBaudRateBps[i]);
}
std::string StopBitsToStr(TStopBits value) { return ToStr(kStop, value); }
std::string DataBitsToStr(TDataBits value) { return ToStr(kData, value); }
std::string ParityToStr(TParityBits value) { return ToStr(kParity, value); }
std::string FlowControlToStr(TFlowControl value) { return ToStr(kFlow, value); }

TBaudRate StrToBaudRate(std::string_view text) {
  for (std::size_t i = 0; i < kBaudRateBps.size(); ++i) {
    if (SameTextNoCase(BaudRateToStr(static_cast<TBaudRate>(i)), text)) return static_cast<TBaudRate>(i);
  }
  return br9600;
}
TStopBits StrToStopBits(std::string_view text) { return FromStr(kStop, text, sbOneStopBit); }
TDataBits StrToDataBits(std::string_view text) { return FromStr(kData, text, dbEight); }
TParityBits StrToParity(std::string_view text) { return FromStr(kParity, text, prNone); }
TFlowControl StrToFlowControl(std::string_view text) { return FromStr(kFlow, text, fcCustom); }

std::vector<std::string> BaudRateTexts() {
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < kBaudRateBps.size(); ++i) texts.push_back(BaudRateToStr(static_cast<TBaudRate>(i)));
  return texts;
}
std::vector<std::string> StopBitsTexts() { return All(kStop); }
std::vector<std::string> DataBitsTexts() { return All(kData); }
std::vector<std::string> ParityTexts() { return All(kParity); }
std::vector<std::string> FlowControlTexts() { return All(kFlow); }

}  // namespace theolink
