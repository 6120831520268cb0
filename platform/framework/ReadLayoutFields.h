// A stream constructor's read of its class's layout group (LayoutFields.h):
//
//   ReadLayoutFields<layout::kControl>(*stream, mValueMessage, mValue, mMinValue, mMaxValue);
//
// takes one variable per value (two for `size`, four for `bind`), a Str255 for a string and
// a std::vector for a list, and fails to compile unless they match the group's fields in
// number, order and width.
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>
#include <vector>

#include "framework/LStream.h"
#include "framework/LayoutFields.h"

namespace layout_reading {

constexpr size_t ValueCount(LayoutGroup group) {
  size_t n = 0;
  for (const LayoutField& f : group) n += static_cast<size_t>(f.count);
  return n;
}

constexpr LayoutType ValueType(LayoutGroup group, size_t index) {
  for (const LayoutField& f : group) {
    if (index < static_cast<size_t>(f.count)) return f.type;
    index -= static_cast<size_t>(f.count);
  }
  return LayoutType::U8;
}

template <typename T>
struct IsVector : std::false_type {};
template <typename E>
struct IsVector<std::vector<E>> : std::true_type {};

template <LayoutType type, typename T>
void ReadValue(LStream& stream, T& value) {
  if constexpr (type == LayoutType::PStr) {
    static_assert(std::is_same_v<T, Str255>, "a string field reads into a Str255");
    stream >> value;
  } else if constexpr (type == LayoutType::IDList || type == LayoutType::IDList16) {
    static_assert(IsVector<T>::value && sizeof(typename T::value_type) == LayoutWidth(type),
                  "a list field reads into a vector of IDs of its width");
    UInt16 count = 0;
    stream >> count;
    value.clear();
    for (UInt16 i = 0; i < count; ++i) {
      typename T::value_type id{};
      stream >> id;
      value.push_back(id);
    }
  } else {
    static_assert(std::is_integral_v<T> && sizeof(T) == LayoutWidth(type), "a number reads at its field's width");
    stream >> value;
  }
}

}  // namespace layout_reading

template <const auto& group, typename... T>
void ReadLayoutFields(LStream& stream, T&... values) {
  constexpr LayoutGroup fields(group);
  static_assert(sizeof...(T) == layout_reading::ValueCount(fields), "one variable per value of the group");
  [&]<size_t... I>(std::index_sequence<I...>) {
    (layout_reading::ReadValue<layout_reading::ValueType(fields, I)>(stream, values), ...);
  }(std::index_sequence_for<T...>{});
}
