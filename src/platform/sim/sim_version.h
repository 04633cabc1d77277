// Version resources and signer names that tests attach to simulated files.
#pragma once

#include <map>
#include <string>

#include "platform/version_api.h"

namespace orvix::sim {

class SimVersions : public IVersionApi {
 public:
  bool GetVersionResource(const std::wstring& path, VersionResource* resource) override;
  std::wstring GetSignerName(const std::wstring& path) override;

  void Attach(const std::wstring& path, VersionResource resource) { resources_[path] = std::move(resource); }
  // The usual case: US English, Unicode code page, the given strings, and
  // the fixed version parsed from "FileVersion" when it is dotted numbers.
  void AttachStrings(const std::wstring& path, const std::map<std::wstring, std::wstring>& strings);
  void SetSigner(const std::wstring& path, const std::wstring& signer) { signers_[path] = signer; }

 private:
  std::map<std::wstring, VersionResource, TextLess> resources_;
  std::map<std::wstring, std::wstring, TextLess> signers_;
};

}  // namespace orvix::sim
