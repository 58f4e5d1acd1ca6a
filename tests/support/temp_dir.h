#pragma once
// A fresh temporary folder per test, removed with everything in it afterwards.
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace theolink::test {

class TempDir {
 public:
  explicit TempDir(const std::string& prefix = "theolink-test") {
    // A name nobody holds: create_directory says false for one that is there already.
    std::random_device random;
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    for (int attempt = 0; attempt < 100 && path_.empty() && !ec; ++attempt) {
      const std::filesystem::path candidate = base / (prefix + "-" + std::to_string(random()));
      if (std::filesystem::create_directory(candidate, ec) && !ec) path_ = candidate.generic_string();
    }
  }
  ~TempDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  std::string operator/(const std::string& name) const { return File(name); }

 private:
  std::string path_;
};

}  // namespace theolink::test
