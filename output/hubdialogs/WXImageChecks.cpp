#include "output/hubdialogs/WXImageChecks.h"

#include "output/hubdialogs/WXAlert.h"
#include "scanner/CTWAIN.h"

namespace CWXUtility {

long CheckImageWidthOver(CTWAIN*& twain, LCommander* commander) {
  if (!twain) return 0;
  TW_IMAGEINFO info{};
  TArray<TW_IMAGEINFO>* infos = twain->GetImageInfoArray();
  for (ArrayIndexT i = 1; infos->FetchItemAt(i, info); ++i) {
    if (info.ImageWidth < kMaxImageWidth) continue;
    delete twain;
    twain = nullptr;
    Show_Error(kAlertLayout, commander, 400, 28, 0, 1, nullptr, 0);
    return 1;
  }
  return 0;
}

}  // namespace CWXUtility
