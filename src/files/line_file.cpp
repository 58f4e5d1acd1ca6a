#include "files/line_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

#include "records/text_lines.h"

namespace theolink {
namespace {

constexpr std::size_t kFlushSize = 1 << 20;

std::string TemporaryName(const std::string& path) {
  std::random_device device;
  static constexpr char kHex[] = "0123456789abcdef";
  std::string suffix = ".tmp-";
  for (int i = 0; i < 12; ++i) suffix += kHex[device() % 16];
  return path + suffix;
}

}  // namespace

bool ReadTextLines(const std::string& path, LineList& lines) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  lines = SplitTextLines(text);
  return true;
}

bool WriteTextLines(const std::string& path, const LineList& lines) {
  AtomicLineFile file(path);
  for (const std::string& line : lines) file.Add(line);
  return file.Commit();
}

AtomicLineFile::AtomicLineFile(std::string path) : path_(std::move(path)) {
  // "x": never reuse a name that already exists.
  for (int attempt = 0; attempt < 8 && file_ == nullptr; ++attempt) {
    temporary_ = TemporaryName(path_);
    file_ = std::fopen(temporary_.c_str(), "wbx");
  }
  if (file_ != nullptr) pending_.reserve(kFlushSize + 4096);
}

AtomicLineFile::~AtomicLineFile() { Discard(); }

void AtomicLineFile::Add(std::string_view line) {
  if (file_ == nullptr || failed_) return;
  pending_.append(line);
  pending_.append("\r\n");
  if (pending_.size() >= kFlushSize) Flush();
}

void AtomicLineFile::Flush() {
  if (!pending_.empty() && std::fwrite(pending_.data(), 1, pending_.size(), file_) != pending_.size()) failed_ = true;
  pending_.clear();
}

bool AtomicLineFile::Commit() {
  if (file_ == nullptr) return false;
  Flush();
  bool ok = !failed_;
  ok = (std::fflush(file_) == 0) && ok;
  ok = (std::fclose(file_) == 0) && ok;
  file_ = nullptr;
  std::error_code error;
  if (ok) {
    std::filesystem::rename(temporary_, path_, error);
    ok = !error;
  }
  if (ok) temporary_.clear();
  Discard();
  return ok;
}

void AtomicLineFile::Discard() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!temporary_.empty()) {
    std::error_code error;
    std::filesystem::remove(temporary_, error);
    temporary_.clear();
  }
}

}  // namespace theolink
