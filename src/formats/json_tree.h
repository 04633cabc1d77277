// A parsed JSON document as a tree that keeps every number as the text it was
// read with, so that a browser's preference file written back carries its
// large integers and trailing zeros unchanged. Browser cleaners and the
// defaults restorers read, change and write preference files through it;
// json_text.h writes it back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvix {

enum class TJsonKind { Null, Bool, Number, String, Array, Object };

class TJsonNode {
 public:
  using Member = std::pair<std::wstring, TJsonNode>;

  TJsonNode() = default;  // null
  static TJsonNode Bool(bool value);
  static TJsonNode String(std::wstring text);
  // A number as written in a file; the text is trusted to be a JSON number.
  static TJsonNode NumberText(std::wstring text);
  // A number the program sets: its shortest decimal text.
  static TJsonNode Number(double value);
  static TJsonNode Integer(std::int64_t value);
  static TJsonNode Array();
  static TJsonNode Object();

  TJsonKind Kind() const { return kind_; }
  bool IsNull() const { return kind_ == TJsonKind::Null; }
  bool IsObject() const { return kind_ == TJsonKind::Object; }
  bool IsArray() const { return kind_ == TJsonKind::Array; }
  bool IsString() const { return kind_ == TJsonKind::String; }
  bool IsNumber() const { return kind_ == TJsonKind::Number; }
  bool IsBool() const { return kind_ == TJsonKind::Bool; }

  bool BoolValue() const { return bool_; }
  // A string's text, or a number's source text; empty for the other kinds.
  const std::wstring& Text() const { return text_; }
  // A number that is a whole number in 64 bits; none for anything else.
  std::optional<std::int64_t> IntegerValue() const;

  // Array elements and object members in file order; empty for other kinds.
  std::vector<TJsonNode>& Elements() { return elements_; }
  const std::vector<TJsonNode>& Elements() const { return elements_; }
  std::vector<Member>& Members() { return members_; }
  const std::vector<Member>& Members() const { return members_; }

  // The member of an object by its exact name; none when absent or when this
  // is no object.
  TJsonNode* Find(std::wstring_view name);
  const TJsonNode* Find(std::wstring_view name) const;
  // Follows object members by name: {"extensions", "settings"}.
  TJsonNode* FindPath(std::initializer_list<std::wstring_view> names);
  const TJsonNode* FindPath(std::initializer_list<std::wstring_view> names) const;
  // Replaces the member's value in place or appends the member; makes a
  // non-object an empty object first. Returns the stored value.
  TJsonNode& Set(std::wstring_view name, TJsonNode value);
  // Removes an object member; false when there was none.
  bool Remove(std::wstring_view name);

 private:
  TJsonKind kind_ = TJsonKind::Null;
  bool bool_ = false;
  std::wstring text_;
  std::vector<TJsonNode> elements_;
  std::vector<Member> members_;
};

// Bounds for parsing text from files: a larger text, or a deeper nesting of
// arrays and objects, is refused rather than read (the tree's own walks are
// recursive).
struct TJsonLimits {
  std::size_t maxBytes = 64u << 20;
  int maxDepth = 200;
};

// Parses UTF-8 JSON (a leading byte-order mark is skipped) into `root`.
// False, with `root` null and a short reason in `error`, for text that is
// not one complete JSON value, is not valid UTF-8 or passes the limits.
bool ParseJson(std::string_view utf8, TJsonNode& root, std::wstring* error = nullptr,
               const TJsonLimits& limits = {});

}  // namespace orvix
