#include <quenvarspell/dispatch.h>

#include <algorithm>

#include "base/ascii.h"

namespace quenvar {
namespace {

ParamDescription In(std::string_view name, VarType type) {
  return {name, type, false, false, {}};
}
ParamDescription Optional(std::string_view name, VarType type, Variant value) {
  return {name, type, false, true, std::move(value)};
}
ParamDescription ByRef(std::string_view name, VarType type) {
  return {name, type, true, false, {}};
}

TypeDescription Describe() {
  using enum VarType;
  TypeDescription type{"SpellCheck", "_SpellCheck", "__SpellCheck", {}, {}};
  type.methods = {
      {"CheckWord", 1,
       {In("sWord", kString), Optional("bCheckCustom", kBoolean, kTrue)},
       kBoolean,
       "Checks if a word is in the dictionary, if CheckCustom is True - it "
       "will also look in the user dictionary."},
      {"GetSuggestions", 2,
       {In("sWord", kString), Optional("bCheckCustom", kBoolean, kTrue)},
       kWordArray,
       "Gets spelling suggestions for a word, if CheckCustom is true - will "
       "look in the user defined dictionary for possible suggestions."},
      {"AddToCustom", 3, {In("sWord", kString)}, kVariant,
       "Add a new word to the custom/user-defined dictionary."},
      {"SaveCustom", 4, {Optional("sFile", kString, std::u16string())}, kVariant,
       "Saves words added with the AddToCustom function to a custom "
       "dictionary file."},
      {"LoadCustom", 5, {Optional("sFile", kString, std::u16string())}, kBoolean,
       "Load a Custom (user defined) dictionary."},
      {"ShowSuggestionDialog", 6, {In("sWord", kString)}, kVariant,
       "Shows the Suggestions dialog for sWord."},
      {"CheckText", 7,
       {ByRef("sText", kString), Optional("ShowDialog", kBoolean, kTrue)},
       kVariant,
       "Checks a document/text for spelling errors and calls the SpellReplace "
       "event if any replacements need to be done."},
      {"Init", 8, {}, kVariant, ""},
  };
  type.events = {
      {"SpellReplace", 1,
       {In("sOriginalWord", kString), In("sReplacementWord", kString),
        In("lPosStart", kLong), ByRef("sSuggestions", kWordArray)},
       kEmpty,
       "This Event is fired by the CheckText function, it informs the "
       "application of any replacements that need to be done to the text.\r\n"},
      {"SpellWordNotInDic", 2,
       {In("sOriginalWord", kString), In("lPosStart", kLong),
        ByRef("Cancel", kBoolean)},
       kEmpty,
       "Fired by the CheckText function when a misspelled word is found. Also "
       "gives you a chance to break out of CheckText by setting 'Cancel' to "
       "True."},
  };
  return type;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(static_cast<unsigned char>(x)) ==
                  AsciiLower(static_cast<unsigned char>(y));
         });
}

// The argument for param: the caller's value converted to the parameter's
// type, or the default of an omitted optional parameter.
Variant Resolve(const MemberDescription& method, std::size_t index,
                const std::vector<Variant>& args) {
  const ParamDescription& param = method.params[index];
  const bool omitted = index >= args.size() ||
                       std::holds_alternative<std::monostate>(args[index]);
  const std::string where =
      std::string(method.name) + " argument " + std::string(param.name);
  if (omitted) {
    if (!param.optional) throw Error(where + ": argument not optional");
    return param.default_value;
  }
  const Variant& value = args[index];
  switch (param.type) {
    case VarType::kString:
      if (std::holds_alternative<std::u16string>(value)) return value;
      break;
    case VarType::kBoolean:
      if (std::holds_alternative<Boolean>(value)) return value;
      if (const auto* number = std::get_if<std::int32_t>(&value)) {
        return *number != 0 ? kTrue : kFalse;
      }
      break;
    default:
      break;
  }
  throw Error(where + ": type mismatch");
}

}  // namespace

const TypeDescription& SpellCheckType() {
  static const TypeDescription type = Describe();
  return type;
}

Variant Invoke(SpellCheck& object, std::string_view member,
               std::vector<Variant>& args) {
  const auto& methods = SpellCheckType().methods;
  const auto method = std::find_if(
      methods.begin(), methods.end(), [&](const MemberDescription& m) {
        return SameNameIgnoringCase(m.name, member);
      });
  if (method == methods.end()) {
    throw Error("SpellCheck has no member named '" + std::string(member) + "'");
  }
  if (args.size() > method->params.size()) {
    throw Error(std::string(method->name) + ": wrong number of arguments");
  }
  std::vector<Variant> values;
  for (std::size_t i = 0; i < method->params.size(); ++i) {
    values.push_back(Resolve(*method, i, args));
  }
  auto text = [&](std::size_t i) -> std::u16string& {
    return std::get<std::u16string>(values[i]);
  };
  auto flag = [&](std::size_t i) { return std::get<Boolean>(values[i]); };

  switch (method->dispatch_id) {
    case 1:
      return object.CheckWord(text(0), flag(1));
    case 2:
      return object.GetSuggestions(text(0), flag(1));
    case 3:
      return object.AddToCustom(text(0));
    case 4:
      return object.SaveCustom(text(0));
    case 5:
      return object.LoadCustom(text(0));
    case 6:
      return object.ShowSuggestionDialog(text(0));
    case 7:
      // sText is in and out: the walk reads the caller's own string, which
      // event handlers may edit while it runs.
      return object.CheckText(std::get<std::u16string>(args[0]), flag(1));
    default:
      return object.Init();
  }
}

}  // namespace quenvar
