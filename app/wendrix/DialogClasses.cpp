#include "app/wendrix/DialogClasses.h"

#include "dialogs/file/CScanInfoWindow.h"

const AppClassList& DialogClasses() {
  static const AppClassList classes = {AppClassEntry<CScanInfoWindow>()};
  return classes;
}
