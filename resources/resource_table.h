// The component's embedded data resources, found by type and numeric id.

#ifndef QUENVARSPELL_RESOURCES_RESOURCE_TABLE_H_
#define QUENVARSPELL_RESOURCES_RESOURCE_TABLE_H_

#include <cstdint>
#include <span>
#include <string_view>

namespace quenvar {

// The bytes of the resource of that type (compared exactly) and id; they
// live as long as the component. The component carries two: "DIC" 101, the
// built-in word list blob, and "DIC" 102, the list's details. Throws Error
// when there is no such resource.
std::span<const std::uint8_t> FindResource(std::string_view type,
                                           std::int32_t id);

}  // namespace quenvar

#endif  // QUENVARSPELL_RESOURCES_RESOURCE_TABLE_H_
