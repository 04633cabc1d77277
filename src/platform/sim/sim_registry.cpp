#include "platform/sim/sim_registry.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <set>
#include <stdexcept>

namespace orvix::sim {

struct SimRegistry::Node {
  std::wstring name;
  std::map<std::wstring, std::shared_ptr<Node>, TextLess> children;  // enumerated sorted, like Windows
  std::vector<SimRegValue> values;                                   // enumerated in creation order
  REGSAM allowed = ~REGSAM{0};
  bool undeletable = false;
  bool deleted = false;
  FILETIME64 lastWrite = 0;

  SimRegValue* FindValue(const std::wstring& valueName) {
    for (SimRegValue& v : values) {
      if (SameText(v.name, valueName)) return &v;
    }
    return nullptr;
  }
};

struct SimRegistry::Handle {
  std::vector<Path> paths;                  // one, or the user's and the machine's classes
  std::vector<std::shared_ptr<Node>> nodes;  // as opened; null where the path did not exist
  REGSAM access = 0;
  bool predefined = false;
  // The merged listings, kept while the registry is unchanged: enumerating
  // by index would otherwise merge the whole key at every step.
  mutable std::optional<std::uint64_t> keyNamesGeneration;
  mutable std::vector<std::wstring> keyNames;
  mutable std::optional<std::uint64_t> valuesGeneration;
  mutable std::vector<const SimRegValue*> values;
};

namespace {

using Path = std::vector<std::wstring>;

constexpr REGSAM kRightsMask = 0x000F003F;  // specific and standard rights, no view bits
constexpr const wchar_t* kWow = L"Wow6432Node";

// Class keys the WOW64 redirector keeps apart for 32-bit programs; the rest
// of the classes are shared by both views.
constexpr std::array kRedirectedClasses = {L"CLSID", L"DirectShow", L"Interface", L"Media Type",
                                           L"MediaFoundation"};

// Keys under HKLM\SOFTWARE that both views share.
constexpr std::array kSharedSoftware = {
    L"Clients",
    L"Microsoft\\COM3",
    L"Microsoft\\Cryptography\\Calais\\Current",
    L"Microsoft\\Cryptography\\Calais\\Readers",
    L"Microsoft\\Cryptography\\Services",
    L"Microsoft\\CTF\\SystemShared",
    L"Microsoft\\CTF\\TIP",
    L"Microsoft\\DFS",
    L"Microsoft\\Driver Signing",
    L"Microsoft\\EnterpriseCertificates",
    L"Microsoft\\EventSystem",
    L"Microsoft\\MSMQ",
    L"Microsoft\\Non-Driver Signing",
    L"Microsoft\\Notepad\\DefaultFonts",
    L"Microsoft\\OLE",
    L"Microsoft\\RAS",
    L"Microsoft\\RPC",
    L"Microsoft\\SOFTWARE\\Microsoft\\Shared Tools\\MSInfo",
    L"Microsoft\\SystemCertificates",
    L"Microsoft\\TermServLicensing",
    L"Microsoft\\Transaction Server",
    L"Microsoft\\Windows\\CurrentVersion\\App Paths",
    L"Microsoft\\Windows\\CurrentVersion\\Control Panel\\Cursors\\Schemes",
    L"Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoplayHandlers",
    L"Microsoft\\Windows\\CurrentVersion\\Explorer\\DriveIcons",
    L"Microsoft\\Windows\\CurrentVersion\\Explorer\\KindMap",
    L"Microsoft\\Windows\\CurrentVersion\\Group Policy",
    L"Microsoft\\Windows\\CurrentVersion\\Policies",
    L"Microsoft\\Windows\\CurrentVersion\\PreviewHandlers",
    L"Microsoft\\Windows\\CurrentVersion\\Setup",
    L"Microsoft\\Windows\\CurrentVersion\\Telephony",
    L"Microsoft\\Windows NT\\CurrentVersion\\CI",
    L"Microsoft\\Windows NT\\CurrentVersion\\Console",
    L"Microsoft\\Windows NT\\CurrentVersion\\FontDpi",
    L"Microsoft\\Windows NT\\CurrentVersion\\FontLink",
    L"Microsoft\\Windows NT\\CurrentVersion\\FontMapper",
    L"Microsoft\\Windows NT\\CurrentVersion\\Fonts",
    L"Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes",
    L"Microsoft\\Windows NT\\CurrentVersion\\Gre_Initialize",
    L"Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options",
    L"Microsoft\\Windows NT\\CurrentVersion\\Language Pack",
    L"Microsoft\\Windows NT\\CurrentVersion\\NetworkCards",
    L"Microsoft\\Windows NT\\CurrentVersion\\Perflib",
    L"Microsoft\\Windows NT\\CurrentVersion\\Ports",
    L"Microsoft\\Windows NT\\CurrentVersion\\Print",
    L"Microsoft\\Windows NT\\CurrentVersion\\ProfileList",
    L"Microsoft\\Windows NT\\CurrentVersion\\Time Zones",
    L"Policies",
    L"RegisteredApplications",
};

Path SplitPath(std::wstring_view text) {
  Path parts;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find(L'\\', start), text.size());
    if (end > start) parts.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

bool HasPrefix(const Path& path, std::size_t from, const Path& prefix) {
  if (path.size() - from < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (!SameText(path[from + i], prefix[i])) return false;
  }
  return true;
}

bool IsRedirectedClass(const std::wstring& name) {
  return std::any_of(kRedirectedClasses.begin(), kRedirectedClasses.end(),
                     [&](const wchar_t* c) { return SameText(name, c); });
}

// Index of "Classes" in a path of a classes hive: HKLM\SOFTWARE\Classes or
// HKU\<sid>\Software\Classes; npos otherwise.
std::size_t ClassesIndex(const Path& path) {
  if (path.size() >= 3 && SameText(path[0], L"HKLM") && SameText(path[1], L"SOFTWARE") &&
      SameText(path[2], L"Classes"))
    return 2;
  if (path.size() >= 4 && SameText(path[0], L"HKU") && SameText(path[2], L"Software") &&
      SameText(path[3], L"Classes"))
    return 3;
  return std::wstring::npos;
}

// SOFTWARE\Wow6432Node\Classes is the same key as SOFTWARE\Classes\Wow6432Node.
Path Canonical(Path path) {
  const bool machine = path.size() >= 4 && SameText(path[0], L"HKLM") && SameText(path[1], L"SOFTWARE");
  const bool user = path.size() >= 5 && SameText(path[0], L"HKU") && SameText(path[2], L"Software");
  const std::size_t at = machine ? 2 : user ? 3 : std::wstring::npos;
  if (at != std::wstring::npos && path.size() > at + 1 && SameText(path[at], kWow) &&
      SameText(path[at + 1], L"Classes")) {
    std::swap(path[at], path[at + 1]);
  }
  return path;
}

}  // namespace

SimRegistry::SimRegistry(Bitness machine) : machine_(machine), root_(std::make_shared<Node>()) {
  for (const wchar_t* key : {L"HKLM\\SOFTWARE\\Classes", L"HKLM\\SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current",
                             L"HKU\\.DEFAULT"}) {
    Ensure(SplitPath(key));
  }
  Ensure({L"HKU", kUserSid, L"Software", L"Classes"});
  if (machine_ == Bitness::x64) Ensure({L"HKLM", L"SOFTWARE", L"Classes", kWow});

  const std::pair<HKEY, std::vector<Path>> roots[] = {
      {HKEY_LOCAL_MACHINE, {{L"HKLM"}}},
      {HKEY_USERS, {{L"HKU"}}},
      {HKEY_CURRENT_USER, {{L"HKU", kUserSid}}},
      {HKEY_CURRENT_CONFIG, {SplitPath(L"HKLM\\SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current")}},
      {HKEY_CLASSES_ROOT, {{L"HKU", kUserSid, L"Software", L"Classes"}, {L"HKLM", L"SOFTWARE", L"Classes"}}},
  };
  for (const auto& [key, paths] : roots) {
    auto handle = std::make_unique<Handle>();
    handle->paths = paths;
    handle->nodes.resize(paths.size());
    handle->access = KEY_ALL_ACCESS;
    handle->predefined = true;
    handles_.emplace(key, std::move(handle));
  }
}

bool SimRegistry::IsPredefined(HKEY key) { return key >= HKEY_CLASSES_ROOT && key <= HKEY_CURRENT_CONFIG; }

SimRegistry::~SimRegistry() = default;

SimRegistry::Node* SimRegistry::Find(const Path& path) const {
  Node* node = root_.get();
  for (const std::wstring& part : path) {
    auto it = node->children.find(part);
    if (it == node->children.end()) return nullptr;
    node = it->second.get();
  }
  return node;
}

SimRegistry::Node* SimRegistry::Ensure(const Path& path) {
  Node* node = root_.get();
  for (const std::wstring& part : path) {
    auto it = node->children.find(part);
    if (it == node->children.end()) {
      auto child = std::make_shared<Node>();
      child->name = part;
      child->lastWrite = clock_;
      it = node->children.emplace(part, std::move(child)).first;
      Touch(node);
    }
    node = it->second.get();
  }
  return node;
}

void SimRegistry::Touch(Node* node) {
  node->lastWrite = ++clock_;
  ++generation_;
}

// The key a 32-bit process reaches on a 64-bit machine when it asks for the
// given path without KEY_WOW64_64KEY.
Path SimRegistry::Redirect(Path path, REGSAM access) const {
  path = Canonical(std::move(path));
  const bool view64 = (access & KEY_WOW64_64KEY) != 0 && (access & KEY_WOW64_32KEY) == 0;
  if (machine_ != Bitness::x64 || view64) return path;

  const std::size_t classes = ClassesIndex(path);
  if (classes != std::wstring::npos) {
    if (path.size() > classes + 1 && IsRedirectedClass(path[classes + 1]))
      path.insert(path.begin() + static_cast<std::ptrdiff_t>(classes) + 1, kWow);
    return path;
  }
  const bool software = path.size() >= 2 && SameText(path[0], L"HKLM") && SameText(path[1], L"SOFTWARE");
  if (!software || (path.size() > 2 && SameText(path[2], kWow))) return path;
  for (const wchar_t* shared : kSharedSoftware) {
    if (HasPrefix(path, 2, SplitPath(shared))) return path;
  }
  path.insert(path.begin() + 2, kWow);
  return path;
}

std::vector<Path> SimRegistry::Resolve(HKEY parent, const std::wstring& subKey, REGSAM access,
                                       LSTATUS* status) const {
  if ((access & KEY_WOW64_RES) == KEY_WOW64_RES) {
    *status = ERROR_INVALID_PARAMETER;  // one view at a time
    return {};
  }
  const Handle* handle = Lookup(parent, status);
  if (handle == nullptr) return {};
  std::vector<Path> bases = handle->paths;
  const Path relative = SplitPath(subKey);
  for (Path& base : bases) {
    base.insert(base.end(), relative.begin(), relative.end());
    base = Redirect(std::move(base), access);
  }
  return bases;
}

const SimRegistry::Handle* SimRegistry::Lookup(HKEY key, LSTATUS* status) const {
  auto it = handles_.find(key);
  if (it == handles_.end()) {
    *status = ERROR_INVALID_HANDLE;
    return nullptr;
  }
  if (AllDeleted(*it->second)) {
    *status = ERROR_KEY_DELETED;
    return nullptr;
  }
  *status = ERROR_SUCCESS;
  return it->second.get();
}

bool SimRegistry::AllDeleted(const Handle& handle) const {
  if (handle.predefined) return false;
  return std::all_of(handle.nodes.begin(), handle.nodes.end(),
                     [](const std::shared_ptr<Node>& n) { return !n || n->deleted; });
}

std::vector<SimRegistry::Node*> SimRegistry::Live(const Handle& handle) const {
  std::vector<Node*> nodes;
  for (std::size_t i = 0; i < handle.paths.size(); ++i) {
    Node* node = handle.nodes[i] ? handle.nodes[i].get() : Find(handle.paths[i]);
    if (node != nullptr && !node->deleted) nodes.push_back(node);
  }
  return nodes;
}

std::size_t SimRegistry::ExistingDepth(const Path& path) const {
  std::size_t depth = path.size();
  while (depth > 0 && Find(Path(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(depth))) == nullptr) --depth;
  return depth;
}

HKEY SimRegistry::NewHandle(std::vector<Path> paths, REGSAM access) {
  auto handle = std::make_unique<Handle>();
  for (const Path& path : paths) {
    Node* node = Find(path);
    std::shared_ptr<Node> shared;
    if (node != nullptr) {
      // Keep the node itself alive and recognisable after a delete.
      Node* parentNode = path.empty() ? nullptr : Find(Path(path.begin(), path.end() - 1));
      shared = parentNode ? parentNode->children.find(path.back())->second : root_;
    }
    handle->nodes.push_back(std::move(shared));
  }
  handle->paths = std::move(paths);
  handle->access = access;
  const HKEY key = nextHandle_;
  nextHandle_ += 4;
  handles_.emplace(key, std::move(handle));
  return key;
}

LSTATUS SimRegistry::Open(HKEY parent, const std::wstring& subKey, REGSAM access, bool create, HKEY* result) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = 0;
  LSTATUS status = ERROR_SUCCESS;
  std::vector<Path> paths = Resolve(parent, subKey, access, &status);
  if (status != ERROR_SUCCESS) return status;

  std::vector<Node*> found;
  for (const Path& path : paths) {
    if (Node* node = Find(path)) found.push_back(node);
  }
  if (found.empty()) {
    if (!create) return ERROR_FILE_NOT_FOUND;
    // A new key under the merged classes goes where more of its parents
    // already exist; the machine's classes when both have as many.
    std::size_t target = 0;
    std::size_t bestDepth = 0;
    for (std::size_t i = 0; i < paths.size(); ++i) {
      const std::size_t depth = ExistingDepth(paths[i]);
      if (depth >= bestDepth) {
        bestDepth = depth;
        target = i;
      }
    }
    // Creating below a key takes the right to create its sub-keys.
    const Node* ancestor = Find(Path(paths[target].begin(), paths[target].begin() + static_cast<std::ptrdiff_t>(bestDepth)));
    if ((ancestor->allowed & KEY_CREATE_SUB_KEY) == 0) return ERROR_ACCESS_DENIED;
    Ensure(paths[target]);
    found.push_back(Find(paths[target]));
  }
  const REGSAM rights = access & kRightsMask;
  for (Node* node : found) {
    if ((rights & ~node->allowed) != 0) return ERROR_ACCESS_DENIED;
  }
  *result = NewHandle(std::move(paths), access);
  return ERROR_SUCCESS;
}

LSTATUS SimRegistry::OpenKey(HKEY parent, const std::wstring& subKey, REGSAM access, HKEY* result) {
  return Open(parent, subKey, access, false, result);
}

LSTATUS SimRegistry::CreateKey(HKEY parent, const std::wstring& subKey, REGSAM access, HKEY* result) {
  LSTATUS status = ERROR_SUCCESS;
  const Handle* handle = Lookup(parent, &status);
  if (handle == nullptr) return status;
  status = Open(parent, subKey, access, false, result);
  if (status != ERROR_FILE_NOT_FOUND) return status;
  if ((handle->access & KEY_CREATE_SUB_KEY) == 0) return ERROR_ACCESS_DENIED;
  return Open(parent, subKey, access, true, result);
}

LSTATUS SimRegistry::CloseKey(HKEY key) {
  if (IsPredefined(key)) return ERROR_SUCCESS;
  return handles_.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LSTATUS SimRegistry::FlushKey(HKEY key) {
  LSTATUS status = ERROR_SUCCESS;
  Lookup(key, &status);
  if (status == ERROR_SUCCESS) ++flushes_;
  return status;
}

namespace {

template <typename NodeT>
std::vector<std::wstring> MergedKeyNames(const std::vector<NodeT*>& nodes) {
  std::set<std::wstring, TextLess> names;
  for (NodeT* node : nodes) {
    for (const auto& [name, child] : node->children) names.insert(child->name);
  }
  return {names.begin(), names.end()};
}

template <typename NodeT>
std::vector<const SimRegValue*> MergedValues(const std::vector<NodeT*>& nodes) {
  std::vector<const SimRegValue*> values;
  for (NodeT* node : nodes) {
    for (const SimRegValue& value : node->values) {
      const bool shadowed = std::any_of(values.begin(), values.end(),
                                        [&](const SimRegValue* v) { return SameText(v->name, value.name); });
      if (!shadowed) values.push_back(&value);
    }
  }
  return values;
}

}  // namespace

const std::vector<std::wstring>& SimRegistry::KeyNames(const Handle& handle) const {
  if (handle.keyNamesGeneration != generation_) {
    handle.keyNames = MergedKeyNames(Live(handle));
    handle.keyNamesGeneration = generation_;
  }
  return handle.keyNames;
}

const std::vector<const SimRegValue*>& SimRegistry::Values(const Handle& handle) const {
  if (handle.valuesGeneration != generation_) {
    handle.values = MergedValues(Live(handle));
    handle.valuesGeneration = generation_;
  }
  return handle.values;
}

LSTATUS SimRegistry::QueryInfoKey(HKEY key, RegKeyInfo* info) {
  LSTATUS status = ERROR_SUCCESS;
  const Handle* handle = Lookup(key, &status);
  if (handle == nullptr) return status;
  if ((handle->access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  const std::vector<Node*> nodes = Live(*handle);
  RegKeyInfo out;
  for (const std::wstring& name : KeyNames(*handle)) {
    ++out.subKeys;
    out.maxSubKeyLen = std::max<DWORD>(out.maxSubKeyLen, static_cast<DWORD>(name.size()));
  }
  for (const SimRegValue* value : Values(*handle)) {
    ++out.values;
    out.maxValueNameLen = std::max<DWORD>(out.maxValueNameLen, static_cast<DWORD>(value->name.size()));
    out.maxValueLen = std::max<DWORD>(out.maxValueLen, static_cast<DWORD>(value->data.size()));
  }
  for (const Node* node : nodes) out.lastWriteTime = std::max(out.lastWriteTime, node->lastWrite);
  if (info != nullptr) *info = out;
  return ERROR_SUCCESS;
}

LSTATUS SimRegistry::EnumKey(HKEY key, DWORD index, std::wstring* name) {
  LSTATUS status = ERROR_SUCCESS;
  const Handle* handle = Lookup(key, &status);
  if (handle == nullptr) return status;
  if ((handle->access & KEY_ENUMERATE_SUB_KEYS) == 0) return ERROR_ACCESS_DENIED;
  const std::vector<std::wstring>& names = KeyNames(*handle);
  if (index >= names.size()) return ERROR_NO_MORE_ITEMS;
  *name = names[index];
  return ERROR_SUCCESS;
}

LSTATUS SimRegistry::EnumValue(HKEY key, DWORD index, std::wstring* name) {
  LSTATUS status = ERROR_SUCCESS;
  const Handle* handle = Lookup(key, &status);
  if (handle == nullptr) return status;
  if ((handle->access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  const std::vector<const SimRegValue*>& values = Values(*handle);
  if (index >= values.size()) return ERROR_NO_MORE_ITEMS;
  *name = values[index]->name;
  return ERROR_SUCCESS;
}

LSTATUS SimRegistry::QueryValue(HKEY key, const std::wstring& name, DWORD* type, BYTE* data, DWORD* size) {
  LSTATUS status = ERROR_SUCCESS;
  const Handle* handle = Lookup(key, &status);
  if (handle == nullptr) return status;
  if ((handle->access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
  const SimRegValue* found = nullptr;
  for (Node* node : Live(*handle)) {
    if ((found = node->FindValue(name)) != nullptr) break;
  }
  if (found == nullptr) return ERROR_FILE_NOT_FOUND;
  if (type != nullptr) *type = found->type;
  const auto needed = static_cast<DWORD>(found->data.size());
  if (data != nullptr) {
    if (*size < needed) {
      *size = needed;
      return ERROR_MORE_DATA;
    }
    if (needed > 0) std::memcpy(data, found->data.data(), needed);
  }
  if (size != nullptr) *size = needed;
  return ERROR_SUCCESS;
}

LSTATUS SimRegistry::SetValue(HKEY key, const std::wstring& name, DWORD type, const BYTE* data, DWORD size) {
  LSTATUS status = ERROR_SUCCESS;
  const Handle* handle = Lookup(key, &status);
  if (handle == nullptr) return status;
  if ((handle->access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
  if (data == nullptr && size != 0) return ERROR_INVALID_PARAMETER;
  const std::vector<Node*> nodes = Live(*handle);
  if (nodes.empty()) return ERROR_KEY_DELETED;
  Node* node = nodes.front();  // the user's classes key when it exists
  Bytes bytes(data, data + size);
  if (SimRegValue* existing = node->FindValue(name)) {
    existing->type = type;
    existing->data = std::move(bytes);
  } else {
    node->values.push_back({name, type, std::move(bytes)});
  }
  Touch(node);
  return ERROR_SUCCESS;
}

LSTATUS SimRegistry::DeleteValue(HKEY key, const std::wstring& name) {
  LSTATUS status = ERROR_SUCCESS;
  const Handle* handle = Lookup(key, &status);
  if (handle == nullptr) return status;
  if ((handle->access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
  for (Node* node : Live(*handle)) {
    auto it = std::find_if(node->values.begin(), node->values.end(),
                           [&](const SimRegValue& v) { return SameText(v.name, name); });
    if (it != node->values.end()) {
      node->values.erase(it);
      Touch(node);
      return ERROR_SUCCESS;
    }
  }
  return ERROR_FILE_NOT_FOUND;
}

LSTATUS SimRegistry::DeleteKey(HKEY parent, const std::wstring& subKey, REGSAM viewSam) {
  LSTATUS status = ERROR_SUCCESS;
  const std::vector<Path> paths = Resolve(parent, subKey, viewSam & KEY_WOW64_RES, &status);
  if (status != ERROR_SUCCESS) return status;
  if (SplitPath(subKey).empty()) return ERROR_ACCESS_DENIED;  // a key cannot delete itself this way
  for (const Path& path : paths) {
    Node* node = Find(path);
    if (node == nullptr) continue;
    if (node->undeletable || (node->allowed & DELETE) == 0 || !node->children.empty())
      return ERROR_ACCESS_DENIED;
    Node* parentNode = Find(Path(path.begin(), path.end() - 1));
    auto it = parentNode->children.find(path.back());
    it->second->deleted = true;
    parentNode->children.erase(it);
    Touch(parentNode);
    return ERROR_SUCCESS;
  }
  return ERROR_FILE_NOT_FOUND;
}

// ---- set-up and inspection for tests ----

SimRegistry::Path SimRegistry::ParseTestPath(const std::wstring& path) const {
  Path parts = SplitPath(path);
  if (parts.empty()) throw std::invalid_argument("empty registry path");
  const std::wstring root = UpperCase(parts[0]);
  Path prefix;
  if (root == L"HKEY_LOCAL_MACHINE" || root == L"HKLM") {
    prefix = {L"HKLM"};
  } else if (root == L"HKEY_USERS" || root == L"HKU") {
    prefix = {L"HKU"};
  } else if (root == L"HKEY_CURRENT_USER" || root == L"HKCU") {
    prefix = {L"HKU", kUserSid};
  } else if (root == L"HKEY_CLASSES_ROOT" || root == L"HKCR") {
    prefix = {L"HKLM", L"SOFTWARE", L"Classes"};
  } else if (root == L"HKEY_CURRENT_CONFIG" || root == L"HKCC") {
    prefix = SplitPath(L"HKLM\\SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current");
  } else {
    throw std::invalid_argument("unknown registry root: " + ToUtf8(parts[0]));
  }
  prefix.insert(prefix.end(), parts.begin() + 1, parts.end());
  return Canonical(std::move(prefix));
}

void SimRegistry::PutKey(const std::wstring& path) { Ensure(ParseTestPath(path)); }

void SimRegistry::PutValue(const std::wstring& path, const std::wstring& name, DWORD type, Bytes data) {
  Node* node = Ensure(ParseTestPath(path));
  if (SimRegValue* existing = node->FindValue(name)) {
    existing->type = type;
    existing->data = std::move(data);
  } else {
    node->values.push_back({name, type, std::move(data)});
  }
  Touch(node);
}

void SimRegistry::PutString(const std::wstring& path, const std::wstring& name, const std::wstring& text,
                            DWORD type) {
  Bytes data = ToUtf16Le(text);
  data.insert(data.end(), {0, 0});
  PutValue(path, name, type, std::move(data));
}

void SimRegistry::PutDword(const std::wstring& path, const std::wstring& name, DWORD value) {
  PutValue(path, name, REG_DWORD,
           {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
            static_cast<BYTE>(value >> 24)});
}

void SimRegistry::RemoveKey(const std::wstring& path) {
  if (SplitPath(path).size() < 2) throw std::invalid_argument("a root key cannot be removed");
  const Path parts = ParseTestPath(path);
  Node* parentNode = Find(Path(parts.begin(), parts.end() - 1));
  if (parentNode == nullptr) return;
  auto it = parentNode->children.find(parts.back());
  if (it == parentNode->children.end()) return;
  MarkDeleted(*it->second);
  parentNode->children.erase(it);
  Touch(parentNode);
}

// Handles below a removed key see it deleted too.
void SimRegistry::MarkDeleted(Node& node) {
  node.deleted = true;
  for (auto& [name, child] : node.children) MarkDeleted(*child);
}

void SimRegistry::RemoveValue(const std::wstring& path, const std::wstring& name) {
  if (Node* node = Find(ParseTestPath(path))) {
    std::erase_if(node->values, [&](const SimRegValue& v) { return SameText(v.name, name); });
    ++generation_;
  }
}

bool SimRegistry::HasKey(const std::wstring& path) const { return Find(ParseTestPath(path)) != nullptr; }

std::optional<SimRegValue> SimRegistry::GetValue(const std::wstring& path, const std::wstring& name) const {
  Node* node = Find(ParseTestPath(path));
  if (node == nullptr) return std::nullopt;
  const SimRegValue* value = node->FindValue(name);
  if (value == nullptr) return std::nullopt;
  return *value;
}

std::optional<std::wstring> SimRegistry::GetString(const std::wstring& path, const std::wstring& name) const {
  const std::optional<SimRegValue> value = GetValue(path, name);
  if (!value) return std::nullopt;
  std::wstring text = FromUtf16Le(value->data);
  if (const std::size_t nul = text.find(L'\0'); nul != std::wstring::npos) text.resize(nul);
  return text;
}

std::vector<std::wstring> SimRegistry::SubKeyNames(const std::wstring& path) const {
  std::vector<std::wstring> names;
  if (Node* node = Find(ParseTestPath(path))) {
    for (const auto& [key, child] : node->children) names.push_back(child->name);
  }
  return names;
}

std::vector<SimRegValue> SimRegistry::Values(const std::wstring& path) const {
  const Node* node = Find(ParseTestPath(path));
  return node == nullptr ? std::vector<SimRegValue>{} : node->values;
}

void SimRegistry::SetKeyAccess(const std::wstring& path, REGSAM allowed) {
  Ensure(ParseTestPath(path))->allowed = allowed;
}

void SimRegistry::SetUndeletable(const std::wstring& path, bool undeletable) {
  Ensure(ParseTestPath(path))->undeletable = undeletable;
}

}  // namespace orvix::sim
