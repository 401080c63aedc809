#include "resources/resource_table.h"

#include <string>

#include <quenvarspell/types.h>

#include "resources/word_list_blob.h"

namespace quenvar {
namespace {

struct Resource {
  std::string_view type;
  std::int32_t id;
  std::span<const std::uint8_t> (*bytes)();
};

constexpr Resource kResources[] = {
    {"DIC", 101, &WordListBlob},
    {"DIC", 102, &WordDetailsBytes},
};

}  // namespace

std::span<const std::uint8_t> FindResource(std::string_view type,
                                           std::int32_t id) {
  for (const Resource& resource : kResources) {
    if (resource.type == type && resource.id == id) return resource.bytes();
  }
  throw Error("the component has no resource of type " + std::string(type) +
              " with id " + std::to_string(id));
}

}  // namespace quenvar
