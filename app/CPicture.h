// A picture pane that renders its picture once into an offscreen image and draws it with
// magenta as the transparent colour, so the background shows through those pixels.
#pragma once

#include <memory>

#include "framework/LGWorld.h"
#include "framework/LPicture.h"

// The colour CPicture leaves transparent.
constexpr RGBColor BackGroundTransColor = {0xFFFF, 0x0000, 0xFFFF};

class CPicture : public LPicture {
 public:
  static constexpr ClassIDT class_ID = 'PicP';
  using Inherited = LPicture;

  explicit CPicture(LStream* stream);
  CPicture(const SPaneInfo& paneInfo, ResIDT pictureID);

  // Draws another picture into the offscreen image made at creation, without resizing it.
  void SetPicIDAndGWorld(ResIDT pictID);
  void SetPicIDAndGWorld_Init(ResIDT pictID) { SetPicIDAndGWorld(pictID); }

 protected:
  void FinishCreateSelf() override;
  void DrawSelf() override;

 private:
  void Render();

  // Null while the picture is missing: nothing is drawn.
  std::unique_ptr<LGWorld> mWorld;
};
