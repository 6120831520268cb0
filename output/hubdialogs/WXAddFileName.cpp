#include "output/hubdialogs/WXAddFileName.h"

#include <cstring>

#include "output/hubdialogs/CFileNameAddDialog.h"
#include "output/hubdialogs/HubDialog.h"

namespace CWXUtility {

long AddFileName(LCommander* super, Str255 name, long count, const Str255* history) {
  HubDialog<> prompt(kFileNameLayout, super);
  auto* dialog = dynamic_cast<CFileNameAddDialog*>(prompt.dialog());
  ThrowIfNil_(dialog);
  dialog->SetFileName(name);
  dialog->SetFileNameHist(count, history);
  Str255 accepted;
  if (prompt.Run([&] { return dialog->GetFileName(accepted); }) != msg_OK) return 0;
  std::memcpy(name, accepted, size_t(accepted[0]) + 1);
  return 1;
}

}  // namespace CWXUtility
