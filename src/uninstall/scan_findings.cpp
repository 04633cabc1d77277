#include "uninstall/scan_findings.h"

namespace orvix {

bool TFoundNames::KeyLess::operator()(const Key& a, const Key& b) const {
  const int order = CompareText(a.name, b.name);
  if (order != 0) return order < 0;
  return a.view64 < b.view64;
}

bool TFoundNames::Contains(std::wstring_view name) const { return Contains(name, false) || Contains(name, true); }

bool TFoundNames::Contains(std::wstring_view name, bool view64) const { return Find(name, view64) != nullptr; }

TRegeditItemGroup* TFoundNames::Find(std::wstring_view name, bool view64) const {
  auto it = groups_.find(Key{std::wstring(name), view64});
  return it == groups_.end() ? nullptr : it->second.get();
}

TRegeditItemGroup& TFoundNames::Add(const std::wstring& name, bool view64, TGroupKind kind, HKEY root,
                                    const std::wstring& keyPath) {
  if (TRegeditItemGroup* existing = Find(name, view64)) return *existing;
  auto group = std::make_unique<TRegeditItemGroup>();
  group->Kind = kind;
  group->RootKey = root;
  group->KeyPath = keyPath;
  group->View64 = view64;
  TRegeditItemGroup& result = *group;
  if (!Contains(name)) order_.push_back(name);
  groups_.emplace(Key{name, view64}, std::move(group));
  return result;
}

std::vector<std::wstring> TFoundNames::Names() const { return order_; }

void TFoundNames::Clear() {
  groups_.clear();
  order_.clear();
  if (mirror_) mirror_->Clear();
}

TFoundNames& TFoundNames::Mirror() {
  if (!mirror_) mirror_ = std::make_unique<TFoundNames>();
  return *mirror_;
}

}  // namespace orvix
