#include "windows/shell_link_maker.h"

#include "platform/win32/com_scope.h"

#include <shlobj.h>

namespace orvix::test {

using win32::ComRef;
using win32::ComScope;

bool MakeShortcut(const std::wstring& path, const ShortcutFields& fields) {
  const ComScope com;
  ComRef<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.OutVoid())))
    return false;
  if (FAILED(link->SetPath(fields.target.c_str()))) return false;
  if (!fields.arguments.empty() && FAILED(link->SetArguments(fields.arguments.c_str()))) return false;
  if (!fields.workingDir.empty() && FAILED(link->SetWorkingDirectory(fields.workingDir.c_str()))) return false;
  if (!fields.description.empty() && FAILED(link->SetDescription(fields.description.c_str()))) return false;
  if (!fields.iconFile.empty() && FAILED(link->SetIconLocation(fields.iconFile.c_str(), 0))) return false;
  ComRef<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.OutVoid()))) return false;
  return SUCCEEDED(file->Save(path.c_str(), TRUE));
}

}  // namespace orvix::test
