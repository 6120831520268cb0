// Registers class T under T::class_ID with the class registry: its stream constructor
// T(LStream*), and as parent the class ID of T::Inherited when T names one, else the
// framework kind it belongs to ('pane', 'atch' or 'cmdr').
#pragma once

#include <type_traits>

#include "framework/LAttachment.h"
#include "framework/LCommander.h"
#include "framework/LPane.h"
#include "framework/URegistrar.h"

template <class T>
class TRegistrar {
  static_assert(std::is_base_of_v<LPane, T> || std::is_base_of_v<LAttachment, T> || std::is_base_of_v<LCommander, T>,
                "a layout class must be a pane, an attachment or a commander");

 public:
  static void Register() { URegistrar::RegisterClass(T::class_ID, &Create, ParentID()); }

  static SReanimated Create(LStream* stream) {
    T* object = new T(stream);
    SReanimated made;
    if constexpr (std::is_base_of_v<LPane, T>) made.pane = object;
    if constexpr (std::is_base_of_v<LAttachment, T>) made.attachment = object;
    if constexpr (std::is_base_of_v<LCommander, T>) made.commander = object;
    return made;
  }

  static constexpr ClassIDT ParentID() {
    if constexpr (requires { T::Inherited::class_ID; }) {
      return T::Inherited::class_ID;
    } else if constexpr (std::is_base_of_v<LPane, T>) {
      return LPane::class_ID;
    } else if constexpr (std::is_base_of_v<LAttachment, T>) {
      return LAttachment::class_ID;
    } else {
      return 'cmdr';
    }
  }
};

#define RegisterClass_(T) TRegistrar<T>::Register()
