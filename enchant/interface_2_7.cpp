// The provider objects of Enchant 2.7 onward (enchant-2.8.2/enchant-provider.h,
// a copy of that release's header, which Enchant no longer installs):
// reference-counted objects that Enchant makes and frees.

#include "provider.h"

namespace quenvar::enchant_provider {

EnchantProvider* NewProvider() {
  EnchantProvider* provider = enchant_provider_new();
  // Enchant frees the dictionary itself, and nothing of ours hangs on it; it
  // still requires the method.
  provider->dispose_dict = [](EnchantProvider*, EnchantDict*) {};
  return provider;
}

EnchantDict* NewDict(EnchantProvider* provider) { return enchant_broker_new_dict(provider->owner); }

}  // namespace quenvar::enchant_provider
