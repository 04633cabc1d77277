// Direct advapi32 calls for setting up and checking keys in the Windows
// tests, independent of the registry code under test. Keys are named by
// their full text ("HKEY_CURRENT_USER\Software\..."); view is 0 (the
// process's own view), kView64 or kView32 (the key a 32-bit program reaches
// by that name, whatever the bitness of the tests).
#pragma once

#include <string>
#include <vector>

namespace orvix::test {

inline constexpr unsigned kOwnView = 0;
inline constexpr unsigned kView64 = 0x0100;  // KEY_WOW64_64KEY
inline constexpr unsigned kView32 = 0x0200;  // KEY_WOW64_32KEY

bool RawCreateKey(const std::wstring& keyText, unsigned view);
bool RawKeyExists(const std::wstring& keyText, unsigned view);
bool RawSetString(const std::wstring& keyText, const std::wstring& name, const std::wstring& data, unsigned view);
bool RawSetDword(const std::wstring& keyText, const std::wstring& name, unsigned value, unsigned view);
// The value's text; empty when it is absent.
std::wstring RawReadString(const std::wstring& keyText, const std::wstring& name, unsigned view);
bool RawDeleteValue(const std::wstring& keyText, const std::wstring& name, unsigned view);
// Deletes the key with everything below it; true when it is gone.
bool RawDeleteTree(const std::wstring& keyText, unsigned view);

// A name no other test run uses, e.g. "OrvixTest-1234-5".
std::wstring UniqueKeyName();

// True when the process runs under Wine rather than Windows.
bool RunningUnderWine();

// A key a test is about to create: at scope exit it removes the key and
// whichever of its parents did not exist when it was declared.
class TestKey {
 public:
  TestKey(std::wstring keyText, unsigned view);
  ~TestKey();
  TestKey(const TestKey&) = delete;
  TestKey& operator=(const TestKey&) = delete;

  const std::wstring& Text() const { return text_; }
  // Text() + "\" + relative path.
  std::wstring operator/(const std::wstring& relative) const { return text_ + L"\\" + relative; }

 private:
  std::wstring text_;
  std::wstring topmostNew_;
  unsigned view_;
};

}  // namespace orvix::test
