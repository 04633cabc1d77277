// The file side of the leftover scan: reports files and folders into the
// scanner's file output, each at most once, walks folders and searches them
// by name. Nothing goes through a junction, symbolic link or mount point,
// and nothing protected is ever reported.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>

#include "platform/file_system_api.h"
#include "uninstall/scan_findings.h"

namespace orvix {

class TRegeditScanClasses;

// A path as the seen list compares it: lower case, no trailing backslash.
std::wstring SeenForm(const std::wstring& path);

class TFileWalk {
 public:
  explicit TFileWalk(TRegeditScanClasses& scan) : scan_(scan) {}

  // Reports a file or folder unless it is already on the seen list, left
  // alone, protected (a drive root, a system or special folder, anything in
  // the Windows folder) or named with a leading "."; it then joins the seen
  // list. True when reported.
  bool Report(const std::wstring& path, TScanFileKind kind, std::int64_t size);

  // The seen list: what was reported, or must not be reported on its own
  // (a folder holding something left alone).
  void MarkSeen(const std::wstring& path) { seen_.insert(SeenForm(path)); }
  bool Seen(const std::wstring& path) const { return seen_.contains(SeenForm(path)); }
  // A path the scan must leave alone: neither reported nor walked.
  void LeaveAlone(const std::wstring& path) { leftAlone_.insert(SeenForm(path)); }

  // Reports everything below the folder, each folder before its contents,
  // in listing order. Names beginning with "." are passed over. A linked
  // sub-folder is reported as it stands, never entered; a folder that is
  // itself a link is not listed at all.
  void WalkFolder(const std::wstring& folder);

  // The folder directly in root whose name is `name` ignoring case, as a
  // full path; empty when there is none. Deeper folders are never searched:
  // a folder of that name further down belongs to whatever holds it. Links
  // and names beginning with "." are passed over.
  std::wstring FindNamedFolder(const std::wstring& root, const std::wstring& name);

  // Calls `visit` with each entry of the folder (whose path ends in a
  // backslash) in listing order, names beginning with "." passed over,
  // processing window messages per entry. Ends when a stop is requested or
  // `visit` answers false; false then.
  bool ListFolder(const std::wstring& prefix, const std::function<bool(const FindData&)>& visit);
  // Whether the folder holds names beginning with "." (which the walk
  // passes over): such a folder is never taken whole.
  bool HoldsDotNames(const std::wstring& folder);

 private:
  // ListFolder with every name but "." and "..".
  bool ListAll(const std::wstring& prefix, const std::function<bool(const FindData&)>& visit);

  TRegeditScanClasses& scan_;
  std::set<std::wstring> seen_;
  std::set<std::wstring> leftAlone_;
};

}  // namespace orvix
