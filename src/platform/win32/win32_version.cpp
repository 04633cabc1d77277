#include <cstdio>
#include <cwchar>
#include <vector>

#include "platform/version_api.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"

#include <wincrypt.h>

namespace orvix::win32 {
namespace {

constexpr ::DWORD kEncoding = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;

// "040904B0": language then code page, as the StringFileInfo blocks are named.
std::wstring TranslationName(std::uint16_t language, std::uint16_t codePage) {
  wchar_t name[9];
  std::swprintf(name, 9, L"%04X%04X", language, codePage);
  return name;
}

bool QueryValue(const std::vector<unsigned char>& block, const std::wstring& subBlock, void** value, UINT* length) {
  return ::VerQueryValueW(block.data(), subBlock.c_str(), value, length) && *value != nullptr;
}

void ReadTranslations(const std::vector<unsigned char>& block, VersionResource* resource) {
  void* value = nullptr;
  UINT length = 0;
  if (!QueryValue(block, L"\\VarFileInfo\\Translation", &value, &length)) return;
  const auto* words = static_cast<const std::uint16_t*>(value);
  for (UINT i = 0; i + 1 < length / sizeof(std::uint16_t); i += 2)
    resource->translations.emplace_back(words[i], words[i + 1]);
}

void ReadStrings(const std::vector<unsigned char>& block, VersionResource* resource) {
  for (const auto& [language, codePage] : resource->translations) {
    const std::wstring prefix = TranslationName(language, codePage) + L"\\";
    for (const wchar_t* name : kVersionStringNames) {
      void* value = nullptr;
      UINT length = 0;  // in characters; whether the NUL counts differs between systems
      if (!QueryValue(block, L"\\StringFileInfo\\" + prefix + name, &value, &length)) continue;
      const auto* text = static_cast<const wchar_t*>(value);
      resource->strings[prefix + name] = std::wstring(text, ::wcsnlen(text, length));
    }
  }
}

void ReadFixedVersion(const std::vector<unsigned char>& block, VersionResource* resource) {
  void* value = nullptr;
  UINT length = 0;
  if (!QueryValue(block, L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO)) return;
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  if (fixed->dwSignature != 0xFEEF04BD) return;
  resource->fixedFileVersion = (static_cast<std::uint64_t>(fixed->dwFileVersionMS) << 32) | fixed->dwFileVersionLS;
}

// The signed message and certificate store embedded in a signed file.
class EmbeddedSignature {
 public:
  explicit EmbeddedSignature(const std::wstring& path) {
    ::CryptQueryObject(CERT_QUERY_OBJECT_FILE, path.c_str(), CERT_QUERY_CONTENT_FLAG_PKCS7_SIGNED_EMBED,
                       CERT_QUERY_FORMAT_FLAG_BINARY, 0, nullptr, nullptr, nullptr, &store_, &message_, nullptr);
  }
  ~EmbeddedSignature() {
    if (message_ != nullptr) ::CryptMsgClose(message_);
    if (store_ != nullptr) ::CertCloseStore(store_, 0);
  }
  EmbeddedSignature(const EmbeddedSignature&) = delete;
  EmbeddedSignature& operator=(const EmbeddedSignature&) = delete;

  std::wstring SignerName() const {
    if (message_ == nullptr || store_ == nullptr) return L"";
    ::DWORD size = 0;
    if (!::CryptMsgGetParam(message_, CMSG_SIGNER_INFO_PARAM, 0, nullptr, &size) || size == 0) return L"";
    std::vector<unsigned char> buffer(size);
    if (!::CryptMsgGetParam(message_, CMSG_SIGNER_INFO_PARAM, 0, buffer.data(), &size)) return L"";
    const auto* signer = reinterpret_cast<const CMSG_SIGNER_INFO*>(buffer.data());
    CERT_INFO wanted{};
    wanted.Issuer = signer->Issuer;
    wanted.SerialNumber = signer->SerialNumber;
    PCCERT_CONTEXT certificate =
        ::CertFindCertificateInStore(store_, kEncoding, 0, CERT_FIND_SUBJECT_CERT, &wanted, nullptr);
    if (certificate == nullptr) return L"";
    std::wstring name;
    const ::DWORD length = ::CertGetNameStringW(certificate, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, nullptr, 0);
    if (length > 1) {
      name.assign(length, L'\0');
      ::CertGetNameStringW(certificate, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, name.data(), length);
      name.resize(length - 1);
    }
    ::CertFreeCertificateContext(certificate);
    return name;
  }

 private:
  HCERTSTORE store_ = nullptr;
  HCRYPTMSG message_ = nullptr;
};

class Win32Versions : public IVersionApi {
 public:
  bool GetVersionResource(const std::wstring& path, VersionResource* resource) override {
    ::DWORD ignored = 0;
    const ::DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return false;
    std::vector<unsigned char> block(size);
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return false;
    *resource = {};
    ReadTranslations(block, resource);
    ReadStrings(block, resource);
    ReadFixedVersion(block, resource);
    return true;
  }

  std::wstring GetSignerName(const std::wstring& path) override { return EmbeddedSignature(path).SignerName(); }
};

}  // namespace

std::unique_ptr<IVersionApi> MakeVersions() { return std::make_unique<Win32Versions>(); }

}  // namespace orvix::win32
