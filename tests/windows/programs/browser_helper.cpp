// A small in-process COM server that registers itself with regsvr32 as an
// Internet Explorer browser helper object and as a toolbar, for the add-on
// cleaner's tests under Wine. It never hands out an object: the cleaner only
// reads registrations.
#include <windows.h>

#include <string>

namespace {

constexpr wchar_t kHelperClass[] = L"{6C1D5E0A-3B2F-4F7A-9E51-0A7C2D4B8E11}";
constexpr wchar_t kToolbarClass[] = L"{6C1D5E0A-3B2F-4F7A-9E51-0A7C2D4B8E12}";
constexpr wchar_t kHelperName[] = L"Orvix Test Helper";
constexpr wchar_t kToolbarName[] = L"Orvix Test Toolbar";
constexpr wchar_t kHelpers[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Browser Helper Objects\\";
constexpr wchar_t kToolbars[] = L"SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar";

HMODULE module = nullptr;

bool SetText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& text) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
    return false;
  const LSTATUS status = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
  return status == ERROR_SUCCESS;
}

bool RegisterComClass(const wchar_t* clsid, const wchar_t* name, const std::wstring& path) {
  const std::wstring key = std::wstring(L"SOFTWARE\\Classes\\CLSID\\") + clsid;
  return SetText(HKEY_LOCAL_MACHINE, key, nullptr, name) &&
         SetText(HKEY_LOCAL_MACHINE, key + L"\\InprocServer32", nullptr, path) &&
         SetText(HKEY_LOCAL_MACHINE, key + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) module = instance;
  return TRUE;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
  wchar_t path[MAX_PATH];
  if (GetModuleFileNameW(module, path, MAX_PATH) == 0) return E_FAIL;
  const bool ok = RegisterComClass(kHelperClass, kHelperName, path) && RegisterComClass(kToolbarClass, kToolbarName, path) &&
                  SetText(HKEY_LOCAL_MACHINE, std::wstring(kHelpers) + kHelperClass, nullptr, L"") &&
                  SetText(HKEY_LOCAL_MACHINE, kToolbars, kToolbarClass, L"");
  return ok ? S_OK : E_FAIL;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer() {
  for (const wchar_t* clsid : {kHelperClass, kToolbarClass})
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(L"SOFTWARE\\Classes\\CLSID\\") + clsid).c_str());
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kHelpers) + kHelperClass).c_str());
  HKEY toolbars = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kToolbars, 0, KEY_SET_VALUE, &toolbars) == ERROR_SUCCESS) {
    RegDeleteValueW(toolbars, kToolbarClass);
    RegCloseKey(toolbars);
  }
  return S_OK;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllGetClassObject(REFCLSID, REFIID, LPVOID* object) {
  if (object != nullptr) *object = nullptr;
  return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllCanUnloadNow() { return S_OK; }
