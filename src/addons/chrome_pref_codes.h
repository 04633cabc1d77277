// The codes with which a Chromium-based browser guards its tracked
// preferences ("protection.macs" of a preference file, with the code over
// all codes in "protection.super_mac"), renewed for an extension record that
// the Chrome cleaner changed.
//
// A code can be renewed only when the old one is known to come from this
// program's seed and device id: the old record's code is computed with each
// pair this program knows and compared with the stored one. Newer browsers
// also store an encrypted hash of each record, made with a key of the
// user's system that this program does not use; such a record is never
// renewed.
#pragma once

#include <string>

#include "formats/json_tree.h"

namespace orvix {

enum class TCodeRenewal {
  tcrRenewed,    // the record's code (and the code over all codes) now match the new record
  tcrUnguarded,  // the store keeps no code of any kind for the record
  tcrUnknown,    // a code this program cannot renew guards the record
};

// `store` is the whole preference file holding "extensions.settings.<id>";
// `before` and `after` are the record's old and new value. Renews the code of
// the record and, when the store keeps one, the code over all codes.
TCodeRenewal RenewExtensionRecordCodes(TJsonNode& store, const std::wstring& id, const TJsonNode& before,
                                       const TJsonNode& after);

}  // namespace orvix
