// The provider objects of Enchant 2.3 to 2.6 (the installed
// enchant-provider.h): plain structures that the provider allocates and
// frees itself.

#include <glib.h>

#include "provider.h"

namespace quenvar::enchant_provider {

EnchantProvider* NewProvider() {
  EnchantProvider* provider = g_new0(EnchantProvider, 1);
  provider->dispose = [](EnchantProvider* me) { g_free(me); };
  provider->dispose_dict = [](EnchantProvider*, EnchantDict* dict) { g_free(dict); };
  return provider;
}

EnchantDict* NewDict(EnchantProvider*) {
  EnchantDict* dict = g_new0(EnchantDict, 1);
#ifdef QUENVAR_ENCHANT_ADD_TO_PERSONAL
  // Before 2.5 Enchant hands a word added to the personal list here, not to
  // add_to_session.
  dict->add_to_personal = AddWord;
#endif
  return dict;
}

}  // namespace quenvar::enchant_provider
