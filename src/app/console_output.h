// Where the console commands write: standard output and standard error, or
// a buffer in tests; and where they read the user's answers.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace orvix {

class ConsoleOutput {
 public:
  virtual ~ConsoleOutput() = default;
  virtual void Write(const std::wstring& text) = 0;
  void Line(const std::wstring& text) { Write(text + L"\n"); }
};

class StringOutput : public ConsoleOutput {
 public:
  void Write(const std::wstring& text) override { text_ += text; }
  const std::wstring& Text() const { return text_; }

 private:
  std::wstring text_;
};

// One line of the user's answer, or nothing at the end of the input.
using TReadLine = std::function<std::optional<std::wstring>()>;

// One line of standard input, UTF-8 or ASCII; nothing at its end.
std::optional<std::wstring> StandardInputLine();

// Writes the question with " [y/N] " and reads one answer: true for "y" or
// "yes" in any case, false for anything else and at the end of the input.
bool AskYesNo(ConsoleOutput& out, const std::wstring& question, const TReadLine& readLine);

}  // namespace orvix
