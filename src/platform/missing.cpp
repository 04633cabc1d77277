#include "platform/missing.h"

#include "platform/platform.h"

namespace orvix {

bool PathMissing(const std::wstring& path) {
  std::wstring named = path;
  if (named.size() > 3 && named.back() == L'\\') named.pop_back();  // "C:\" stays a root
  FileAttributeData data;
  const DWORD status = CurrentPlatform().Files().GetAttributes(named, &data);
  return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND;
}

}  // namespace orvix
