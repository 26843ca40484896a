// SPDX-License-Identifier: GPL-3.0-or-later
// A value kept on the heap, made on the first write: a record that most files leave empty in
// some part (the fields of a tag they do not have) stays small, and copies stay deep.
#pragma once

#include <memory>

namespace vornik {

template <typename T>
class HeapValue {
  public:
    HeapValue() = default;
    HeapValue(const HeapValue& other)
        : value_(other.value_ ? std::make_unique<T>(*other.value_) : nullptr) {}
    HeapValue& operator=(const HeapValue& other) {
        if (this != &other) {
            value_ = other.value_ ? std::make_unique<T>(*other.value_) : nullptr;
        }
        return *this;
    }
    HeapValue(HeapValue&&) noexcept = default;
    HeapValue& operator=(HeapValue&&) noexcept = default;
    ~HeapValue() = default;

    // The value, or a default one when nothing was written.
    const T& operator*() const { return value_ ? *value_ : Empty(); }
    const T* operator->() const { return &**this; }
    // The value to write, made when there is none yet.
    T& Edit() {
        if (!value_) {
            value_ = std::make_unique<T>();
        }
        return *value_;
    }

  private:
    static const T& Empty() {
        static const T empty{};
        return empty;
    }

    std::unique_ptr<T> value_;
};

}  // namespace vornik
