// The layout classes the application registers that live outside app/ (the function
// dialogs, their panes, the preview and stitch views): the executable's target lists them
// and hands the list to the application object, which registers them in its order.
#pragma once

#include <vector>

#include "framework/TRegistrar.h"

struct SAppClassEntry {
  ClassIDT classID;
  ClassCreatorFunc creator;
  ClassIDT parentID;
};
typedef std::vector<SAppClassEntry> AppClassList;

template <class T>
SAppClassEntry AppClassEntry() {
  return SAppClassEntry{T::class_ID, &TRegistrar<T>::Create, TRegistrar<T>::ParentID()};
}
