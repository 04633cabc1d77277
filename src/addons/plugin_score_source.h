// Where the cleaners look up the published score of an add-on by its name:
// the downloaded score database, attached by the add-on page when loaded.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace orvix {

class IPluginScoreSource {
 public:
  virtual ~IPluginScoreSource() = default;
  virtual bool Loaded() const = 0;
  // The score (0 to 5) of the add-on of that name, none when unknown.
  virtual std::optional<std::int32_t> LookupScore(const std::wstring& name) const = 0;
};

}  // namespace orvix
