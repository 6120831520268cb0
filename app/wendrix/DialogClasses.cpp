#include "app/wendrix/DialogClasses.h"

const AppClassList& DialogClasses() {
  static const AppClassList classes = {};
  return classes;
}
