#pragma once
// Listing the serial ports present.
#include <functional>
#include <string>
#include <vector>

namespace theolink {

// Replaces strings by the device paths of the serial ports present: every tty the system
// lists with a device behind it (USB adapters of any driver, modem-class devices, Bluetooth
// serial links, on-chip UARTs; ttyS only where a UART answers), sorted as text without
// regard to case. Leaves strings as they were when the system's list cannot be read.
void EnumComPorts(std::vector<std::string>& strings);

// Tells whether a ttyS device has a UART behind it.
using SerialProbe = std::function<bool(const std::string& device_path)>;

// EnumComPorts over a given tty class folder (/sys/class/tty) and device folder (/dev).
void EnumComPortsIn(const std::string& sys_class_tty, const std::string& dev_dir,
                    const SerialProbe& probe, std::vector<std::string>& strings);

// True when this user has the rights to open the device for reading and writing.
bool MayOpenPort(const std::string& device_path);

// True when the driver reports a known port type for the device (busy counts as present).
bool HasSerialHardware(const std::string& device_path);

// Sorts as text without regard to case (so ttyS10 comes before ttyS2).
void SortNoCase(std::vector<std::string>& strings);

}  // namespace theolink
