#pragma once
// The text forms of the port settings, as the selection boxes list them. Reading
// compares without regard to case; a text that matches none gives the stated default.
#include <string>
#include <string_view>
#include <vector>

#include "serial/com_types.h"

namespace theolink {

std::string BaudRateToStr(TBaudRate value);    // "Custom", "110", ... "256000"
std::string StopBitsToStr(TStopBits value);    // "1", "1.5", "2"
std::string DataBitsToStr(TDataBits value);    // "5" ... "8"
std::string ParityToStr(TParityBits value);    // "None", "Odd", "Even", "Mark", "Space"
std::string FlowControlToStr(TFlowControl value);  // "Hardware", "Software", "None", "Custom"

TBaudRate StrToBaudRate(std::string_view text);        // no match: br9600
TStopBits StrToStopBits(std::string_view text);        // no match: sbOneStopBit
TDataBits StrToDataBits(std::string_view text);        // no match: dbEight
TParityBits StrToParity(std::string_view text);        // no match: prNone
TFlowControl StrToFlowControl(std::string_view text);  // no match: fcCustom

// Every text of a setting, in enumeration order.
std::vector<std::string> BaudRateTexts();
std::vector<std::string> StopBitsTexts();
std::vector<std::string> DataBitsTexts();
std::vector<std::string> ParityTexts();
std::vector<std::string> FlowControlTexts();

// ASCII comparison without regard to case.
bool SameTextNoCase(std::string_view a, std::string_view b);

}  // namespace theolink
