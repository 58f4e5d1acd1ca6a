#pragma once
// The instrument's end of a pseudo-terminal: the master side, with the slave side's path
// for the program to open.
#include <chrono>
#include <string>

namespace theolink::sim {

class PtyDevice {
 public:
  // Creates the pseudo-terminal and puts the program's side into raw 8-bit mode, so that
  // bytes written before the program configures the port are not translated or echoed.
  // Throws std::runtime_error on failure.
  PtyDevice();
  ~PtyDevice();
  PtyDevice(const PtyDevice&) = delete;
  PtyDevice& operator=(const PtyDevice&) = delete;

  const std::string& Path() const { return path_; }
  // The master side's descriptor (-1 once closed).
  int Descriptor() const { return master_; }
  // Closes the master side: the program sees the line hang up.
  void Close();

  // True once some program holds the device open. The master reports a hang-up while no
  // one has the slave side open, so "opened" is the hang-up going away.
  bool PeerOpen() const;
  // Waits until the program opens (true) or the time passes (false).
  bool WaitForOpen(std::chrono::milliseconds limit) const;
  // Waits until the program closes the device (true) or the time passes (false). Bytes the
  // program writes meanwhile are read and dropped.
  bool WaitForClose(std::chrono::milliseconds limit);

  // Writes all of text unless the program closes the device first; false then.
  bool WriteAll(const std::string& text);
  // Reads what arrives within limit (at most max bytes); empty when nothing came.
  std::string ReadSome(std::chrono::milliseconds limit, std::size_t max = 4096);

 private:
  int master_ = -1;
  std::string path_;
};

}  // namespace theolink::sim
