#include "addons/chrome_pref_codes.h"

#include <string_view>

#include "addons/chrome_json_text.h"
#include "formats/text_codec.h"

namespace orvix {
namespace {

// The seeds and device ids this program can compute codes with: the open
// builds of the browser use an empty seed and, where the system has no device
// id for them, an empty id.
struct CodeKey {
  std::string_view seed;
  std::string_view deviceId;
};
constexpr CodeKey kKnownKeys[] = {{"", ""}};

}  // namespace

TCodeRenewal RenewExtensionRecordCodes(TJsonNode& store, const std::wstring& id, const TJsonNode& before,
                                       const TJsonNode& after) {
  TJsonNode* macs = store.FindPath({L"protection", L"macs"});
  TJsonNode* extensions = macs != nullptr ? macs->Find(L"extensions") : nullptr;
  if (extensions == nullptr) return TCodeRenewal::tcrUnguarded;
  const bool encrypted = extensions->FindPath({L"settings_encrypted_hash", id}) != nullptr;
  TJsonNode* stored = extensions->FindPath({L"settings", id});
  if (stored == nullptr || !stored->IsString()) return encrypted ? TCodeRenewal::tcrUnknown : TCodeRenewal::tcrUnguarded;

  // The code this program can compute is renewed even beside an encrypted
  // hash, so that a store the browser does not enforce stays consistent; a
  // record with an encrypted hash still counts as guarded by a code this
  // program cannot renew.
  const std::string path = "extensions.settings." + ToUtf8(id);
  const std::string storedCode = ToUtf8(stored->Text());
  for (const CodeKey& key : kKnownKeys) {
    if (ChromePrefMac(key.seed, key.deviceId, path, &before) != storedCode) continue;
    *stored = TJsonNode::String(FromUtf8(ChromePrefMac(key.seed, key.deviceId, path, &after)));
    TJsonNode* protection = store.Find(L"protection");
    if (protection->Find(L"super_mac") != nullptr) {
      protection->Set(L"super_mac", TJsonNode::String(FromUtf8(ChromePrefMac(key.seed, key.deviceId, "", macs))));
    }
    return encrypted ? TCodeRenewal::tcrUnknown : TCodeRenewal::tcrRenewed;
  }
  return TCodeRenewal::tcrUnknown;
}

}  // namespace orvix
