#include "app/CMoveToolTip.h"

#include "app/CDropPane.h"

bool CMoveToolTip::MayShow() const {
  auto* host = dynamic_cast<CDropPane*>(HostPane());
  return host && host->GetMoveButtonValue() != 0;
}
