// A fixed-size array whose elements start as all-zero bytes without being
// written: its memory comes from calloc, which hands large blocks out as
// fresh pages that the system zeroes on first touch, so the parts of a large
// table that are never touched take no resident memory.

#ifndef QUENVARSPELL_BASE_ZEROED_ARRAY_H_
#define QUENVARSPELL_BASE_ZEROED_ARRAY_H_

#include <cstdlib>
#include <memory>
#include <new>
#include <type_traits>

namespace quenvar {

template <typename T>
class ZeroedArray {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  // No elements.
  ZeroedArray() = default;

  // size elements of all-zero bytes. Throws std::bad_alloc when the memory
  // cannot be had.
  explicit ZeroedArray(std::size_t size)
      : data_(static_cast<T*>(std::calloc(size == 0 ? 1 : size, sizeof(T)))) {
    if (data_ == nullptr) throw std::bad_alloc();
  }

  // REQUIRES: i below the size the array was made with.
  T& operator[](std::size_t i) { return data_.get()[i]; }
  const T& operator[](std::size_t i) const { return data_.get()[i]; }

 private:
  struct Free {
    void operator()(T* data) const { std::free(data); }
  };
  std::unique_ptr<T[], Free> data_;
};

}  // namespace quenvar

#endif  // QUENVARSPELL_BASE_ZEROED_ARRAY_H_
