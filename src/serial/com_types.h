#pragma once
// Enumerations and small sets of the serial port component. Ordinals count from 0 in the
// order given; the text forms and the baud box rely on that order.
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <utility>

namespace theolink {

// Stores value in field; true when that changed it, so a setter knows to re-apply.
template <typename T>
bool StoreChanged(T& field, T value) {
  if (field == value) return false;
  field = value;
  return true;
}

enum TBaudRate {
  brCustom, br110, br300, br600, br1200, br2400, br4800, br9600, br14400, br19200,
  br38400, br56000, br57600, br115200, br128000, br256000
};
// The one baud table: bits per second of each TBaudRate in enumeration order (brCustom,
// which takes CustomBaudRate instead, holds 0). The baud box texts come from it too.
inline constexpr std::array<std::int32_t, 16> kBaudRateBps = {
    0,     110,   300,   600,   1200,  2400,  4800,   9600,
    14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};

// The setting for a rate in bits per second: the listed rate, or brCustom.
constexpr TBaudRate BaudRateFor(std::int32_t bps) {
  for (std::size_t i = 1; i < kBaudRateBps.size(); ++i)
    if (kBaudRateBps[i] == bps) return static_cast<TBaudRate>(i);
  return brCustom;
}

enum TStopBits { sbOneStopBit, sbOne5StopBits, sbTwoStopBits };
enum TDataBits { dbFive, dbSix, dbSeven, dbEight };
enum TParityBits { prNone, prOdd, prEven, prMark, prSpace };
enum TDTRFlowControl { dtrDisable, dtrEnable, dtrHandshake };
enum TRTSFlowControl { rtsDisable, rtsEnable, rtsHandshake, rtsToggle };
enum TFlowControl { fcHardware, fcSoftware, fcNone, fcCustom };
enum TSyncMethod { smThreadSync, smWindowSync, smNone };
enum TComEvent {
  evRxChar, evTxEmpty, evRxFlag, evRing, evBreak, evCTS, evDSR, evError, evRLSD, evRx80Full
};
enum TComError { ceFrame, ceRxParity, ceOverrun, ceBreak, ceIO, ceMode, ceRxOver, ceTxFull };
enum TComSignal { csCTS, csDSR, csRing, csRLSD };
enum TStoredProp { spBasic, spFlowControl, spBuffer, spTimeouts, spParity, spOthers };
// Hold flags of the device (waiting for CTS, DSR, RLSD, XON; XOFF sent; end-of-file
// received; priority character queued).
enum TComStateFlag { fsCTSHold, fsDSRHold, fsRLSDHold, fsXOnHold, fsXOffHold, fsEOF, fsTxim };
enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// A set of values of one of the enumerations above (at most 32 values).
template <typename E>
class EnumSet {
 public:
  constexpr EnumSet() = default;
  constexpr EnumSet(std::initializer_list<E> items) {
    for (E e : items) Include(e);
  }
  static constexpr EnumSet FromBits(std::uint32_t bits) {
    EnumSet s;
    s.bits_ = bits;
    return s;
  }
  constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
  constexpr EnumSet& Include(E e) {
    bits_ |= Bit(e);
    return *this;
  }
  constexpr EnumSet& Exclude(E e) {
    bits_ &= ~Bit(e);
    return *this;
  }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr std::uint32_t Bits() const { return bits_; }
  // The members whose system bit is set in mask, by a table of {bit, member}.
  template <std::size_t N>
  static constexpr EnumSet FromMask(unsigned long mask, const std::array<std::pair<unsigned long, E>, N>& table) {
    EnumSet s;
    for (const auto& [bit, member] : table)
      if ((mask & bit) != 0) s.Include(member);
    return s;
  }
  constexpr EnumSet operator|(EnumSet o) const { return FromBits(bits_ | o.bits_); }
  constexpr EnumSet operator&(EnumSet o) const { return FromBits(bits_ & o.bits_); }
  friend constexpr bool operator==(EnumSet, EnumSet) = default;

 private:
  static constexpr std::uint32_t Bit(E e) { return std::uint32_t{1} << static_cast<int>(e); }
  std::uint32_t bits_ = 0;
};

using TComEvents = EnumSet<TComEvent>;
using TComErrors = EnumSet<TComError>;
using TComSignals = EnumSet<TComSignal>;
using TStoredProps = EnumSet<TStoredProp>;
using TComStateFlags = EnumSet<TComStateFlag>;

inline constexpr TComEvents kAllComEvents{evRxChar, evTxEmpty, evRxFlag, evRing,  evBreak,
                                          evCTS,    evDSR,     evError,  evRLSD, evRx80Full};

}  // namespace theolink
