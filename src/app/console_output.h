// Where the console commands write: standard output and standard error, or
// a buffer in tests.
#pragma once

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

}  // namespace orvix
