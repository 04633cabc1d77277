// Answers typed at the console's prompts, one line each, for command tests;
// the end of the input once they run out.
#pragma once

#include <deque>
#include <optional>
#include <string>

#include "app/console_output.h"

namespace orvix::testing {

struct ScriptedAnswers {
  std::deque<std::wstring> lines;

  TReadLine Reader() {
    return [this]() -> std::optional<std::wstring> {
      if (lines.empty()) return std::nullopt;
      std::wstring line = lines.front();
      lines.pop_front();
      return line;
    };
  }
};

}  // namespace orvix::testing
