// Screen places of the halves and the crop frame, turned into the merge's image places.
#include "preview/StitchMergeFrame.h"

#include <gtest/gtest.h>

#include <string>

#include "preview/CStitchCheckStitch.h"

namespace {

using StitchMergeFrame::ImagePlaces;
using StitchMergeFrame::Places;
using StitchMergeFrame::ToImage;

std::string Str(const Places& p) {
  return "right (" + std::to_string(p.rightPt.v) + "," + std::to_string(p.rightPt.h) + ") frame (" +
         std::to_string(p.framePt.v) + "," + std::to_string(p.framePt.h) + ") " + std::to_string(p.frame.bottom) + "x" +
         std::to_string(p.frame.right);
}

// What the geometry gives before anything moved, then the conversion.
bool Convert(const Rect& leftImage, const Rect& rightImage, const Rect& leftPane, const Rect& rightPane,
             const Rect& crop, double scale, Places* out) {
  CStitchCheckStitch stitch;
  stitch.CreateStitchScreen(&leftImage, &rightImage);
  Rect merge{}, leftPart{}, rightPart{};
  Point mergePt{}, leftPt{}, rightPt{};
  stitch.CalcMergeRect(&merge, &mergePt, &leftPart, &rightPart);
  stitch.GetLeftImagePt(&leftPt);
  stitch.GetRightImagePt(&rightPt);
  return ImagePlaces(leftPane, rightPane, crop, scale, leftImage, rightImage, leftPt, rightPt, mergePt, merge, out);
}

TEST(StitchMergeFrame, ScreenDistancesRoundToTheNearestImagePixelEitherWay) {
  EXPECT_EQ(ToImage(-3, 1.0), -3) << "an overlap keeps its size";
  EXPECT_EQ(ToImage(3, 1.0), 3);
  EXPECT_EQ(ToImage(-5, 0.5), -10);
  EXPECT_EQ(ToImage(7, 2.0), 4) << "a half pixel goes up";
  EXPECT_EQ(ToImage(-7, 2.0), -3);
}

TEST(StitchMergeFrame, PanesAndCropBecomeTheMergeFrame) {
  const struct {
    const char* what;
    Rect leftImage, rightImage, leftPane, rightPane, crop;
    double scale;
    const char* places;
  } rows[] = {
      {"equal halves at scale 1, right one 19 over and 6 down", {0, 0, 240, 160}, {0, 0, 240, 160},
       {30, 160, 270, 320}, {36, 301, 276, 461}, {36, 160, 270, 461}, 1.0, "right (246,141) frame (246,0) 234x301"},
      {"equal halves at half size", {0, 0, 480, 320}, {0, 0, 480, 320}, {30, 160, 270, 320}, {30, 310, 270, 470},
       {30, 160, 270, 470}, 0.5, "right (480,300) frame (480,0) 480x620"},
      {"a wider right half, from the left pane", {0, 0, 240, 100}, {0, 0, 240, 176}, {30, 220, 270, 320},
       {30, 295, 270, 471}, {30, 220, 270, 471}, 1.0, "right (240,75) frame (240,0) 240x251"},
      {"a shorter right half, crop over the shared rows", {0, 0, 240, 100}, {0, 0, 200, 100}, {30, 220, 270, 320},
       {50, 300, 250, 400}, {50, 220, 250, 400}, 1.0, "right (220,80) frame (220,0) 200x180"},
  };
  for (const auto& row : rows) {
    Places places;
    ASSERT_TRUE(Convert(row.leftImage, row.rightImage, row.leftPane, row.rightPane, row.crop, row.scale, &places))
        << row.what;
    EXPECT_EQ(Str(places), row.places) << row.what;
  }
}

TEST(StitchMergeFrame, AFrameTooLargeForTheRecordsFails) {
  Places places;
  EXPECT_FALSE(Convert({0, 0, 20000, 20000}, {0, 0, 20000, 20000}, {0, 0, 200, 200}, {0, 200, 200, 400},
                       {0, 0, 200, 400}, 0.01, &places));
}

}  // namespace
