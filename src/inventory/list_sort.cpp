#include "inventory/list_sort.h"

#include <algorithm>

#include "platform/date_time.h"
#include "platform/text.h"

namespace orvix {
namespace {

// Units tested in this order, in exact case; bytes rank 1.
int SizeRank(const std::wstring& text) {
  if (text.find(L'K') != std::wstring::npos) return 10;
  if (text.find(L'M') != std::wstring::npos) return 100;
  if (text.find(L'G') != std::wstring::npos) return 1000;
  return 1;
}

template <typename T>
int Sign(T a, T b) {
  return a < b ? -1 : b < a ? 1 : 0;
}

}  // namespace

int CompareCaptions(const std::wstring& a, const std::wstring& b) { return CompareText(a, b); }

int CompareSizeTexts(const std::wstring& a, const std::wstring& b) {
  if (const int byRank = Sign(SizeRank(a), SizeRank(b))) return byRank;
  if (const int byLength = Sign(a.size(), b.size())) return byLength;
  return CompareText(a, b);
}

int CompareDateTexts(const std::wstring& a, const std::wstring& b) {
  if (a.empty() || b.empty()) return Sign(!a.empty(), !b.empty());
  return Sign(ParseShortDate(a).value_or(0), ParseShortDate(b).value_or(0));
}

int CompareRows(const TListRow& a, const TListRow& b, const TListSort& sort) {
  int result = 0;
  switch (sort.column) {
    case colSoftwareName: result = CompareCaptions(a.caption, b.caption); break;
    case colSize: result = CompareSizeTexts(a.sizeText, b.sizeText); break;
    case colInstallDate: result = CompareDateTexts(a.dateText, b.dateText); break;
    default: return 0;
  }
  if (sort.order == soNone) return 0;
  return sort.order == soDescending ? -result : result;
}

void SortRows(std::vector<TListRow>& rows, const TListSort& sort) {
  if (sort.order == soNone) return;
  std::stable_sort(rows.begin(), rows.end(),
                   [&sort](const TListRow& a, const TListRow& b) { return CompareRows(a, b, sort) < 0; });
}

TListSort SortAfterHeaderClick(const TListSort& current, int column) {
  if (column == colOperate || column < colSoftwareName || column > colInstallDate) return current;
  if (column != current.column) return {column, soAscending};
  return {column, current.order == soAscending ? soDescending : soAscending};
}

}  // namespace orvix
