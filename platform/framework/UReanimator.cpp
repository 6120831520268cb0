#include "framework/UReanimator.h"

#include <string>
#include <vector>

#include "framework/LAttachment.h"
#include "framework/LBroadcaster.h"
#include "framework/LCommander.h"
#include "framework/LDataStream.h"
#include "framework/LListener.h"
#include "framework/LView.h"
#include "framework/URegistrar.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"

namespace {

[[noreturn]] void Fail(ResIDT layoutID, const std::string& what) {
  std::string message = "layout " + std::to_string(layoutID) + ": " + what;
  throw LException(err_BadLayout, message.c_str());
}

// Restores the loader's defaults however the loading ends.
struct StLoaderDefaults {
  LView* view = LPane::GetDefaultView();
  LCommander* commander = LCommander::GetDefaultCommander();
  ~StLoaderDefaults() {
    LPane::SetDefaultView(view);
    LCommander::SetDefaultCommander(commander);
  }
};

struct Level {
  LView* view;
  LCommander* commander;
};

}  // namespace

LPane* UReanimator::ReadPanes(ResIDT layoutID, LCommander* super, LView* superView) {
  Handle data = GetResource(kLayoutResType, layoutID);
  if (!data) Fail(layoutID, "not found");
  // The layout's data is read in place: keep it from moving meanwhile.
  SInt8 state = HGetState(data);
  HLock(data);
  LDataStream stream(static_cast<const void*>(*data), static_cast<SInt32>(GetHandleSize(data)));
  try {
    LPane* top = ReadPanes(stream, layoutID, super, superView);
    HSetState(data, state);
    return top;
  } catch (...) {
    HSetState(data, state);
    throw;
  }
}

LPane* UReanimator::ReadPanes(LStream& stream, ResIDT layoutID, LCommander* super, LView* superView) {
  StLoaderDefaults saved;
  std::vector<Level> levels{{superView, super}};
  std::vector<LPane*> panes;
  LPane* top = nullptr;
  LCommander* topCommander = nullptr;  // a top object that is a commander but no pane
  SReanimated last;

  try {
    UInt16 version = 0;
    stream >> version;
    if (version != 1) Fail(layoutID, "unknown version " + std::to_string(version));
    for (;;) {
      UInt32 tag = 0;
      stream >> tag;
      if (tag == 'end.') break;
      if (tag == 'begs') {
        LView* view = dynamic_cast<LView*>(last.pane);
        LCommander* commander = last.commander ? last.commander : levels.back().commander;
        if (last.pane && !view) Fail(layoutID, "objects inside a pane that is no view");
        levels.push_back({view ? view : levels.back().view, commander});
        continue;
      }
      if (tag == 'ends') {
        if (levels.size() == 1) Fail(layoutID, "unbalanced end of sub-objects");
        levels.pop_back();
        continue;
      }
      if (tag != 'objd') Fail(layoutID, "unknown tag");
      UInt32 length = 0;
      ClassIDT classID = 0;
      stream >> length >> classID;
      if (length > static_cast<UInt32>(stream.GetLength() - stream.GetMarker())) Fail(layoutID, "object cut short");
      char id[7];
      FourCharCodeText(classID, id);
      // The object reads from its own bytes only: one that asks for more fails before it
      // builds anything (a window of any size) from its neighbour's data.
      std::vector<UInt8> fields(length);
      if (length) stream.ReadBlock(fields.data(), static_cast<SInt32>(length));
      LDataStream objectStream(static_cast<const void*>(fields.data()), static_cast<SInt32>(length));

      LPane::SetDefaultView(levels.back().view);
      LCommander::SetDefaultCommander(levels.back().commander);
      SReanimated made;
      try {
        made = URegistrar::CreateObject(classID, &objectStream);
      } catch (const LException& e) {
        if (e.GetErrorCode() == eofErr && objectStream.AtEnd()) Fail(layoutID, std::string("class ") + id + " reads past its object");
        throw;
      }
      if (made.pane) {
        if (top && !made.pane->GetSuperView()) {
          delete made.pane;  // a second top-level pane would belong to nobody
          Fail(layoutID, "holds more than one top object");
        }
        panes.push_back(made.pane);
        if (!top) top = made.pane;
      } else if (made.attachment) {
        auto* host = dynamic_cast<LAttachable*>(last.pane);
        if (!host) {
          delete made.attachment;
          Fail(layoutID, std::string("attachment ") + id + " has no pane to attach to");
        }
        host->AddAttachment(made.attachment);
      } else if (made.commander) {
        if (!top && !topCommander) topCommander = made.commander;
      }
      if (objectStream.GetMarker() != objectStream.GetLength()) Fail(layoutID, std::string("class ") + id + " read a different field list");
      if (made.pane || made.commander) last = made;
    }
    if (!top) Fail(layoutID, "holds no pane");
    for (auto it = panes.rbegin(); it != panes.rend(); ++it) (*it)->FinishCreate();
  } catch (...) {
    // The top pane owns everything below it; a pane left without a superview goes alone.
    if (top)
      delete top;
    else
      delete topCommander;
    throw;
  }
  return top;
}

void UReanimator::LinkListenerToControls(LListener* listener, LView* view, ResIDT linksID) {
  Handle data = GetResource(kControlLinksResType, linksID);
  ThrowIfNil_(data);
  LDataStream stream(static_cast<const void*>(*data), static_cast<SInt32>(GetHandleSize(data)));
  UInt16 count = 0;
  stream >> count;
  for (UInt16 i = 0; i < count; ++i) {
    PaneIDT id = 0;
    stream >> id;
    auto* broadcaster = dynamic_cast<LBroadcaster*>(view->FindPaneByID(id));
    ThrowIfNil_(broadcaster);
    broadcaster->AddListener(listener);
  }
}

void UReanimator::LinkListenerToBroadcasters(LListener* listener, LView* view) {
  for (LPane* pane : view->GetSubPanes()) {
    if (auto* broadcaster = dynamic_cast<LBroadcaster*>(pane)) broadcaster->AddListener(listener);
    if (auto* sub = dynamic_cast<LView*>(pane)) LinkListenerToBroadcasters(listener, sub);
  }
}
