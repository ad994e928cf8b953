#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace progress {

// Drives the progress window of a long operation. The program creates a new
// controller for each operation, starts it with the total, steps it with the
// count of items done and ends it. Screens implement it with a window; batch
// runs and tests with a text line or nothing.
class ProgressController {
 public:
  virtual ~ProgressController() = default;

  // The constant arguments (0, true, true, 24 or 20, 2, true) are the
  // window's layout options, passed as the program has always passed them.
  virtual void Start(int32_t total, const std::string& heading, int style = 0, bool showCount = true,
                     bool showBar = true, int rows = 24, const std::string& message = "", int border = 2,
                     bool modal = true) = 0;
  virtual void Step(int32_t counter) = 0;
  virtual void SetText(const std::string& message) = 0;
  virtual void End() = 0;
};

// Shows nothing.
class SilentProgress final : public ProgressController {
 public:
  void Start(int32_t, const std::string&, int, bool, bool, int, const std::string&, int, bool) override {}
  void Step(int32_t) override {}
  void SetText(const std::string&) override {}
  void End() override {}
};

}  // namespace progress
