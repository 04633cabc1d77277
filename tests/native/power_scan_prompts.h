// The review window's question and message boxes for tests: every question
// answered as told (Yes unless a test says otherwise), and both recorded.
#pragma once

#include <string>
#include <vector>

#include "uninstall/power_scan_model.h"

namespace orvix::testing {

class FakePowerScanPrompts : public IPowerScanPrompts {
 public:
  bool Confirm(const std::wstring& question) override {
    questions.push_back(question);
    return answer;
  }
  void Message(const std::wstring& text, const std::wstring& caption) override {
    messages.push_back(caption + L": " + text);
  }
  bool answer = true;
  std::vector<std::wstring> questions;
  std::vector<std::wstring> messages;
};

}  // namespace orvix::testing
