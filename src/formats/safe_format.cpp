#include "formats/safe_format.h"

#include <optional>

namespace orvix {
namespace {

struct Placeholder {
  std::size_t begin = 0;
  std::size_t end = 0;  // one past the kind letter
  std::size_t argument = 0;
  wchar_t kind = 0;  // 's' or 'd'
};

// Splits the pattern into placeholders; empty when it holds a malformed one.
std::optional<std::vector<Placeholder>> Parse(const std::wstring& pattern) {
  std::vector<Placeholder> found;
  std::size_t next = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != L'%') continue;
    if (i + 1 < pattern.size() && pattern[i + 1] == L'%') {
      found.push_back({i, i + 2, 0, L'%'});
      ++i;
      continue;
    }
    Placeholder p;
    p.begin = i;
    std::size_t at = i + 1;
    p.argument = next;
    std::size_t digits = 0;
    std::size_t index = 0;
    while (at < pattern.size() && pattern[at] >= L'0' && pattern[at] <= L'9' && digits < 3) {
      index = index * 10 + (pattern[at++] - L'0');
      ++digits;
    }
    if (digits > 0) {
      if (at >= pattern.size() || pattern[at] != L':') return std::nullopt;
      ++at;
      p.argument = index;
    }
    if (at >= pattern.size()) return std::nullopt;
    const wchar_t kind = pattern[at];
    if (kind != L's' && kind != L'd' && kind != L'S' && kind != L'D') return std::nullopt;
    p.kind = kind == L'S' || kind == L's' ? L's' : L'd';
    p.end = at + 1;
    next = p.argument + 1;
    found.push_back(p);
    i = at;
  }
  return found;
}

bool Matches(const std::vector<Placeholder>& placeholders, const std::vector<FormatArg>& args) {
  std::vector<bool> used(args.size(), false);
  for (const Placeholder& p : placeholders) {
    if (p.kind == L'%') continue;
    if (p.argument >= args.size()) return false;
    const bool isText = std::holds_alternative<std::wstring>(args[p.argument]);
    if (isText != (p.kind == L's')) return false;
    used[p.argument] = true;
  }
  for (bool u : used) {
    if (!u) return false;
  }
  return true;
}

std::wstring Substitute(const std::wstring& pattern, const std::vector<Placeholder>& placeholders,
                        const std::vector<FormatArg>& args) {
  std::wstring out;
  std::size_t from = 0;
  for (const Placeholder& p : placeholders) {
    out.append(pattern, from, p.begin - from);
    if (p.kind == L'%') {
      out += L'%';
    } else if (const auto* text = std::get_if<std::wstring>(&args[p.argument])) {
      out += *text;
    } else {
      out += std::to_wstring(std::get<std::int64_t>(args[p.argument]));
    }
    from = p.end;
  }
  out.append(pattern, from, std::wstring::npos);
  return out;
}

}  // namespace

bool FormatMatches(const std::wstring& pattern, const std::vector<FormatArg>& args) {
  const auto placeholders = Parse(pattern);
  return placeholders && Matches(*placeholders, args);
}

std::wstring SafeFormat(const std::wstring& pattern, const std::vector<FormatArg>& args, const std::wstring& fallback) {
  for (const std::wstring* text : {&pattern, &fallback}) {
    const auto placeholders = Parse(*text);
    if (placeholders && Matches(*placeholders, args)) return Substitute(*text, *placeholders, args);
  }
  return fallback;
}

}  // namespace orvix
