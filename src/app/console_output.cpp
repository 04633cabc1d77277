#include "app/console_output.h"

#include <iostream>

#include "formats/text_codec.h"
#include "platform/text.h"

namespace orvix {

std::optional<std::wstring> StandardInputLine() {
  std::string line;
  if (!std::getline(std::cin, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return FromUtf8(line);
}

bool AskYesNo(ConsoleOutput& out, const std::wstring& question, const TReadLine& readLine) {
  out.Write(question + L" [y/N] ");
  const std::optional<std::wstring> answer = readLine ? readLine() : std::nullopt;
  if (!answer) out.Line(L"");  // keep what follows off the prompt's line
  const std::wstring word = answer ? Trim(*answer) : L"";
  return SameText(word, L"y") || SameText(word, L"yes");
}

}  // namespace orvix
