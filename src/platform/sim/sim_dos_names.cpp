#include "platform/sim/sim_dos_names.h"

#include <cstdio>

#include "platform/text.h"

namespace orvix::sim {
namespace {

constexpr std::wstring_view kNeverInShortNames = L"\"*/:<>?\\|";
constexpr std::wstring_view kUnderscoredInShortNames = L"+,;=[]";

bool FitsShortName(wchar_t c) {
  return c > 32 && c < 127 && kNeverInShortNames.find(c) == std::wstring_view::npos &&
         kUnderscoredInShortNames.find(c) == std::wstring_view::npos;
}

// One part of a generated short name: spaces and dots dropped, characters a
// short name cannot hold turned into "_", upper case.
std::wstring ShortNamePart(std::wstring_view text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L' ' || c == L'.') continue;
    out += FitsShortName(c) ? UpperChar(c) : L'_';
  }
  return out;
}

std::wstring Hex4(unsigned value) {
  wchar_t buffer[8];
  std::swprintf(buffer, 8, L"%04X", value & 0xFFFF);
  return buffer;
}

// The pattern with FindFirstFileW's DOS wildcards: '<' (DOS star), '>' (DOS
// question mark) and '"' (DOS dot).
std::wstring DosPattern(std::wstring_view pattern) {
  std::wstring out(pattern);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const wchar_t next = i + 1 < out.size() ? out[i + 1] : L'\0';
    if (out[i] == L'?') {
      out[i] = L'>';
    } else if (out[i] == L'*' && next == L'.') {
      out[i] = L'<';
    } else if (out[i] == L'.' && (next == L'?' || next == L'*' || next == L'\0')) {
      out[i] = L'"';
    }
  }
  return out;
}

bool Match(std::wstring_view pattern, std::wstring_view name, std::size_t p, std::size_t n, std::size_t lastDot) {
  if (p == pattern.size()) return n == name.size();
  switch (pattern[p]) {
    case L'*':
      for (std::size_t k = n; k <= name.size(); ++k) {
        if (Match(pattern, name, p + 1, k, lastDot)) return true;
      }
      return false;
    case L'<': {
      // Anything up to, but not over, the name's last dot.
      const std::size_t limit = (lastDot != std::wstring_view::npos && lastDot >= n) ? lastDot : name.size();
      for (std::size_t k = n; k <= limit; ++k) {
        if (Match(pattern, name, p + 1, k, lastDot)) return true;
      }
      return false;
    }
    case L'>':
      if (n == name.size() || name[n] == L'.') return Match(pattern, name, p + 1, n, lastDot);
      return Match(pattern, name, p + 1, n + 1, lastDot);
    case L'"':
      if (n == name.size()) return Match(pattern, name, p + 1, n, lastDot);
      return name[n] == L'.' && Match(pattern, name, p + 1, n + 1, lastDot);
    default:
      return n < name.size() && UpperChar(pattern[p]) == UpperChar(name[n]) &&
             Match(pattern, name, p + 1, n + 1, lastDot);
  }
}

}  // namespace

bool IsShortName(std::wstring_view name) {
  const std::size_t dot = name.find(L'.');
  const std::wstring_view base = name.substr(0, dot);
  const std::wstring_view ext = dot == std::wstring_view::npos ? std::wstring_view{} : name.substr(dot + 1);
  if (base.empty() || base.size() > 8 || ext.size() > 3) return false;
  if (dot != std::wstring_view::npos && ext.empty()) return false;
  for (std::wstring_view part : {base, ext}) {
    for (wchar_t c : part) {
      if (!FitsShortName(c) || c == L'.') return false;
    }
  }
  return true;
}

std::wstring MakeShortName(std::wstring_view longName, const std::function<bool(const std::wstring&)>& taken) {
  std::wstring_view trimmed = longName;
  while (!trimmed.empty() && trimmed.front() == L'.') trimmed.remove_prefix(1);
  const std::size_t dot = trimmed.rfind(L'.');
  std::wstring base = ShortNamePart(trimmed.substr(0, dot));
  std::wstring ext = dot == std::wstring_view::npos ? std::wstring{} : ShortNamePart(trimmed.substr(dot + 1));
  if (base.empty()) std::swap(base, ext);
  if (base.empty()) base = L"_";
  ext = ext.substr(0, 3);
  const std::wstring suffix = ext.empty() ? std::wstring{} : L"." + ext;

  for (int n = 1; n <= 4; ++n) {
    std::wstring candidate = base.substr(0, 6) + L"~" + std::to_wstring(n) + suffix;
    if (!taken(candidate)) return candidate;
  }
  unsigned checksum = 0;
  for (wchar_t c : longName) checksum = (checksum * 0x25 + UpperChar(c)) & 0xFFFF;
  const std::wstring stem = base.substr(0, 2) + Hex4(checksum);
  for (int n = 1;; ++n) {
    const std::wstring tail = L"~" + std::to_wstring(n);
    std::wstring candidate = stem.substr(0, 8 - tail.size()) + tail + suffix;
    if (!taken(candidate)) return candidate;
  }
}

bool HasWildcards(std::wstring_view text) { return text.find_first_of(L"*?") != std::wstring_view::npos; }

bool MatchesPattern(std::wstring_view pattern, std::wstring_view name) {
  const std::wstring dos = DosPattern(pattern);
  return Match(dos, name, 0, 0, name.rfind(L'.'));
}

}  // namespace orvix::sim
