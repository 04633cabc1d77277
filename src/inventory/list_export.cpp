#include "inventory/list_export.h"

#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/system_info.h"
#include "platform/text.h"

namespace orvix {
namespace {

const std::wstring kEqualsRule(36, L'=');
const std::wstring kDashRule(46, L'-');

void AddLine(std::wstring& text, const std::wstring& line) {
  text += line;
  text += L"\r\n";
}

}  // namespace

TExportHeader CurrentExportHeader() {
  return {FileVersionText(CurrentPlatform().Shell().GetModuleFileName()), OsName(), NowLocal()};
}

std::wstring ExportTimeText(TDateTime time) { return FormatDate(time, L"MM-dd-yyyy HH:mm:ss"); }

std::wstring SoftwareListText(const TSoftList& items, const TExportHeader& header) {
  std::wstring text;
  AddLine(text, kEqualsRule);
  AddLine(text, L"Software List");
  AddLine(text, L"Application Version:" + header.appVersion);
  AddLine(text, header.osName);
  AddLine(text, L"Exported Time:" + ExportTimeText(header.exportedAt));
  AddLine(text, kEqualsRule);
  AddLine(text, L"");
  for (const auto& item : items) {
    const TSoftInfo& entry = *item;
    if (entry.Hidden) continue;
    AddLine(text, L"Software Name: " + entry.DisplayName);
    AddLine(text, L"Version: " + entry.DisplayVersion);
    AddLine(text, L"Publisher: " + entry.Publisher);
    AddLine(text, L"Install Time: " + entry.InstallDateText);
    AddLine(text, L"Size: " + entry.SizeText);
    AddLine(text, L"Help info: " + entry.HelpLink);
    AddLine(text, L"Registry Key: " + entry.RootName + entry.KeyPath);
    AddLine(text, L"Uninstall Command: " + entry.UninstallString);
    AddLine(text, kDashRule);
    AddLine(text, L"");
  }
  return text;
}

std::wstring ExportFileName(const std::wstring& chosen) {
  // Only the name itself counts: a folder such as "C:\notes.txt\" must not
  // leave the file without its extension.
  const std::size_t slash = chosen.find_last_of(L"\\/");
  const std::size_t nameStart = slash == std::wstring::npos ? 0 : slash + 1;
  return FindText(chosen, L".txt", nameStart) == std::wstring::npos ? chosen + L".txt" : chosen;
}

bool SaveSoftwareList(const std::wstring& path, const TSoftList& items, const std::wstring& addOnSection) {
  const std::wstring text = SoftwareListText(items, CurrentExportHeader()) + addOnSection;
  return ReplaceFileBytes(path, EncodeTextFile(text, TextEncoding::Utf16LeBom));
}

}  // namespace orvix
