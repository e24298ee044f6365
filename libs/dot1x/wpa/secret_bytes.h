#pragma once
// Byte buffers for keys and decrypted key data. Their memory is wiped before it is given back,
// on every path that frees it: destruction, reallocation, and the early returns of error paths.

#include <cstddef>
#include <memory>
#include <vector>

#include "libs/dot1x/wpa/bytes.h"

namespace wpa {

// Overwrites memory in a way the compiler may not leave out.
void WipeMemory(void* memory, std::size_t size);

template <typename T, typename Base = std::allocator<T>>
struct WipingAllocator : Base {
  using value_type = T;
  template <typename U>
  struct rebind {
    using other = WipingAllocator<U, typename std::allocator_traits<Base>::template rebind_alloc<U>>;
  };

  WipingAllocator() = default;
  template <typename U, typename OtherBase>
  WipingAllocator(const WipingAllocator<U, OtherBase>& other) : Base(static_cast<const OtherBase&>(other)) {}

  T* allocate(std::size_t n) { return std::allocator_traits<Base>::allocate(*this, n); }
  void deallocate(T* p, std::size_t n) {
    WipeMemory(p, n * sizeof(T));
    std::allocator_traits<Base>::deallocate(*this, p, n);
  }
};

using SecretBytes = std::vector<std::uint8_t, WipingAllocator<std::uint8_t>>;

}  // namespace wpa
