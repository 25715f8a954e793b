// A fresh directory that is the current directory while the object lives.
#pragma once

#include <string>

namespace zorvat::testing {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
    std::string previous_;
};

// Whole-file helpers for tests.
std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& content);

}  // namespace zorvat::testing
