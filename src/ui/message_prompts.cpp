#include "ui/message_prompts.h"

namespace orvix::ui {

int ShowMessage(HWND owner, const std::wstring& text, UINT flags) {
  return ::MessageBoxW(owner, text.c_str(), kApplicationTitle, flags);
}

bool MessagePrompts::Confirm(const std::wstring& question) {
  // The window's caption as title, as the review's questions want it.
  wchar_t caption[256] = {};
  if (owner_ == nullptr || ::GetWindowTextW(owner_, caption, 256) == 0) lstrcpynW(caption, kApplicationTitle, 256);
  return ::MessageBoxW(owner_, question.c_str(), caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void MessagePrompts::Message(const std::wstring& text, const std::wstring& caption) {
  ::MessageBoxW(owner_, text.c_str(), caption.empty() ? kApplicationTitle : caption.c_str(), MB_OK | MB_ICONINFORMATION);
}

void MessagePrompts::Message(const std::wstring& text) { ShowMessage(owner_, text, MB_OK | MB_ICONINFORMATION); }

}  // namespace orvix::ui
