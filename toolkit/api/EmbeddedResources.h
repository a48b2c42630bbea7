#pragma once

#include <algorithm>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qd3 {

// Bytes compiled into the executable (cmake/EmbedResources.cmake), found by file
// name or by integer id. The table is filled during static initialisation by the
// generated sources; tests may add entries of their own at run time.
struct EmbeddedResource {
  std::string name;
  int id = -1;  // -1: found by name only
  std::span<const unsigned char> bytes;
};

namespace detail {
inline std::vector<EmbeddedResource>& EmbeddedResourceTable() {
  static std::vector<EmbeddedResource> table;
  return table;
}
}  // namespace detail

// Adds or replaces the entry of that name. The bytes are not copied: they must
// outlive every lookup (static data, or storage the caller keeps).
inline bool RegisterEmbeddedResource(std::string_view name, int id,
                                     std::span<const unsigned char> bytes) {
  auto& table = detail::EmbeddedResourceTable();
  auto it = std::find_if(table.begin(), table.end(),
                         [&](const EmbeddedResource& r) { return r.name == name; });
  if (it != table.end()) {
    it->id = id;
    it->bytes = bytes;
  } else {
    table.push_back({std::string(name), id, bytes});
  }
  return true;
}

inline const EmbeddedResource* FindEmbeddedResource(std::string_view name) {
  for (const auto& r : detail::EmbeddedResourceTable()) {
    if (r.name == name) return &r;
  }
  return nullptr;
}

inline const EmbeddedResource* FindEmbeddedResourceById(int id) {
  if (id < 0) return nullptr;
  for (const auto& r : detail::EmbeddedResourceTable()) {
    if (r.id == id) return &r;
  }
  return nullptr;
}

}  // namespace qd3
