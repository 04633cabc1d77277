// The Notes sample's in-process COM server: one class with a version-dependent
// and a version-independent ProgID and no type library. regsvr32 registers it
// under HKEY_CLASSES_ROOT, as most such servers do, so from this 32-bit
// library the CLSID lands in the 32-bit view of a 64-bit machine.
#include <windows.h>

#include <olectl.h>  // needs windows.h before it

#include <new>
#include <string>

namespace {

// {6F1C2A9E-4B7D-4E21-9C3A-0D5E8B7A4F10}
constexpr CLSID kClsid = {0x6f1c2a9e, 0x4b7d, 0x4e21, {0x9c, 0x3a, 0x0d, 0x5e, 0x8b, 0x7a, 0x4f, 0x10}};
constexpr wchar_t kClsidText[] = L"{6F1C2A9E-4B7D-4E21-9C3A-0D5E8B7A4F10}";
constexpr wchar_t kProgId[] = L"OrvixSamples.NotesShell.1";
constexpr wchar_t kIndependentProgId[] = L"OrvixSamples.NotesShell";
constexpr wchar_t kDescription[] = L"Orvix Sample Notes Shell";

HMODULE module = nullptr;
LONG liveObjects = 0;  // objects and server locks; the library may unload at 0

// The class has no interface of its own: creating it and releasing it is all
// a client can do, which is all the tests need.
class NotesShell : public IUnknown {
 public:
  NotesShell() { ::InterlockedIncrement(&liveObjects); }
  virtual ~NotesShell() { ::InterlockedDecrement(&liveObjects); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = ::IsEqualIID(iid, IID_IUnknown) ? static_cast<IUnknown*>(this) : nullptr;
    if (!*object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

 private:
  LONG references_ = 1;
};

class Factory : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    const bool known = ::IsEqualIID(iid, IID_IUnknown) || ::IsEqualIID(iid, IID_IClassFactory);
    *object = known ? static_cast<IClassFactory*>(this) : nullptr;
    return known ? S_OK : E_NOINTERFACE;
  }
  // The one factory is static: it lives as long as the library.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    NotesShell* shell = new (std::nothrow) NotesShell;
    if (!shell) return E_OUTOFMEMORY;
    const HRESULT result = shell->QueryInterface(iid, object);
    shell->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock)
      ::InterlockedIncrement(&liveObjects);
    else
      ::InterlockedDecrement(&liveObjects);
    return S_OK;
  }
};

Factory factory;

bool WriteClassesValue(const std::wstring& keyPath, const wchar_t* name, const std::wstring& data) {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const LONG status = ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                       static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

std::wstring ModulePath() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(module, path, MAX_PATH);
  return path;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) {
    module = instance;
    ::DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (!::IsEqualCLSID(clsid, kClsid)) return CLASS_E_CLASSNOTAVAILABLE;
  return factory.QueryInterface(iid, object);
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllCanUnloadNow() { return liveObjects == 0 ? S_OK : S_FALSE; }

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
  const std::wstring clsidKey = std::wstring(L"CLSID\\") + kClsidText;
  const bool written = WriteClassesValue(clsidKey, nullptr, kDescription) &&
                       WriteClassesValue(clsidKey + L"\\InprocServer32", nullptr, ModulePath()) &&
                       WriteClassesValue(clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
                       WriteClassesValue(clsidKey + L"\\ProgID", nullptr, kProgId) &&
                       WriteClassesValue(clsidKey + L"\\VersionIndependentProgID", nullptr, kIndependentProgId) &&
                       WriteClassesValue(kProgId, nullptr, kDescription) &&
                       WriteClassesValue(std::wstring(kProgId) + L"\\CLSID", nullptr, kClsidText) &&
                       WriteClassesValue(kIndependentProgId, nullptr, kDescription) &&
                       WriteClassesValue(std::wstring(kIndependentProgId) + L"\\CLSID", nullptr, kClsidText) &&
                       WriteClassesValue(std::wstring(kIndependentProgId) + L"\\CurVer", nullptr, kProgId);
  return written ? S_OK : SELFREG_E_CLASS;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer() {
  for (const std::wstring& key :
       {std::wstring(L"CLSID\\") + kClsidText, std::wstring(kProgId), std::wstring(kIndependentProgId)}) {
    const LONG status = ::RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return SELFREG_E_CLASS;
  }
  return S_OK;
}
