// The late-bound half of SpellCheck: a description of its methods and events
// (as a type library would carry it) and a call by member name with Variant
// arguments, for scripting hosts and bindings that discover the interface at
// run time.

#ifndef QUENVARSPELL_DISPATCH_H_
#define QUENVARSPELL_DISPATCH_H_

#include <cstdint>
#include <string_view>
#include <vector>

#include <quenvarspell/export.h>
#include <quenvarspell/spell_check.h>

namespace quenvar {

// The type a parameter or result holds; kVariant means "any Variant".
enum class VarType { kEmpty, kBoolean, kLong, kString, kWordArray, kVariant };

struct ParamDescription {
  std::string_view name;
  VarType type;
  bool by_reference;      // in and out: the method works on the caller's value
  bool optional;
  Variant default_value;  // used when an optional parameter is omitted
};

struct MemberDescription {
  std::string_view name;
  std::int32_t dispatch_id;
  std::vector<ParamDescription> params;  // in call order
  VarType result;
  std::string_view help_string;          // empty when the member has none
};

struct TypeDescription {
  std::string_view class_name;            // "SpellCheck"
  std::string_view interface_name;        // "_SpellCheck"
  std::string_view event_interface_name;  // "__SpellCheck"
  std::vector<MemberDescription> methods;  // in interface order
  std::vector<MemberDescription> events;   // in event-number order
};

// The description of SpellCheck. The reference stays valid for the life of
// the process.
QUENVAR_EXPORT const TypeDescription& SpellCheckType();

// Calls the method named member (ASCII letter case ignored) on object with
// args in call order. Omitted trailing optional arguments, and optional
// arguments passed as empty, take their defaults; a Long passed for a Boolean
// counts as True when non-zero. A by-reference argument is the element of
// args itself, read and changed in place (REQUIRES: args is not resized while
// the call runs). Throws Error for an unknown member, a missing required
// argument, too many arguments or an argument of the wrong type; otherwise
// throws what the method throws.
QUENVAR_EXPORT Variant Invoke(SpellCheck& object, std::string_view member,
                              std::vector<Variant>& args);

}  // namespace quenvar

#endif  // QUENVARSPELL_DISPATCH_H_
