#pragma once
// Turns the trace on into a fresh file for the life of one test.
#include <string>

#include "support/win_test_util.h"
#include "sys/trace.h"

class TraceCapture {
 public:
  explicit TraceCapture(const std::string& name) {
    path_ = testutil::freshFolder("trace-" + name) + "\\trace.txt";
    tavrin::trace::setFile(path_);
    tavrin::trace::switchOn();
  }
  ~TraceCapture() {
    tavrin::trace::switchOff();
    tavrin::trace::setFile("");
  }
  const std::string& path() const { return path_; }
  std::string text() const { return testutil::readFile(path_); }
  // Values (right of "=") of every entry, in file order.
  std::vector<std::string> values() const {
    std::vector<std::string> out;
    for (const std::string& line : testutil::lines(text())) {
      std::size_t eq = line.find('=');
      if (eq != std::string::npos) out.push_back(line.substr(eq + 1));
    }
    return out;
  }
  bool has(const std::string& labelAndText) const {
    for (const std::string& v : values())
      if (v.size() >= labelAndText.size() && v.compare(v.size() - labelAndText.size(), std::string::npos, labelAndText) == 0)
        return true;
    return false;
  }

 private:
  std::string path_;
};
