#include <gtest/gtest.h>

#include <string>

#include "preview/CStitchCheckStitch.h"

namespace {

std::string Str(const Rect& r) {
  return "{" + std::to_string(r.top) + "," + std::to_string(r.left) + "," + std::to_string(r.bottom) + "," +
         std::to_string(r.right) + "}";
}
std::string Str(const Point& p) { return "(" + std::to_string(p.v) + "," + std::to_string(p.h) + ")"; }

const Rect kHalf{0, 0, 800, 1000};

CStitchCheckStitch TwoHalves(Point rp) {
  CStitchCheckStitch s;
  s.CreateStitchScreen(&kHalf, &kHalf);
  s.SetRightImagePt(&rp);
  Rect merge, left, right;
  Point mergePt;
  s.CalcMergeRect(&merge, &mergePt, &left, &right);
  return s;
}

TEST(CStitchCheckStitch, StartsSideBySideWithRoomAboveAndBelow) {
  CStitchCheckStitch s;
  EXPECT_EQ(s.GetIsRightImageOver(), 1);
  s.CreateStitchScreen(&kHalf, &kHalf);
  Rect screen;
  Point lp, rp;
  s.GetScreenRect(&screen);
  s.GetLeftImagePt(&lp);
  s.GetRightImagePt(&rp);
  EXPECT_EQ(Str(screen), "{0,0,2400,2000}");
  EXPECT_EQ(Str(lp), "(800,0)");
  EXPECT_EQ(Str(rp), "(800,1000)");

  CStitchCheckStitch missing;
  missing.CreateStitchScreen(nullptr, &kHalf);
  Rect left, right;
  missing.SetScreenSize(&left, &right);
  missing.GetScreenRect(&screen);
  EXPECT_EQ(Str(left), "{0,0,100,100}");
  EXPECT_EQ(Str(screen), "{0,0,1700,1100}");
}

TEST(CStitchCheckStitch, MergeRectIsTheSharedRowsAcrossBoth) {
  struct Case {
    Point rp;
    const char *merge, *mergePt, *left, *right;
  };
  const Case cases[] = {
      {{800, 1000}, "{0,0,800,2000}", "(800,0)", "{0,0,800,1000}", "{0,0,800,1000}"},
      {{900, 900}, "{0,0,700,1900}", "(900,0)", "{100,0,800,900}", "{0,0,700,1000}"},
      {{700, 500}, "{0,0,700,1500}", "(800,0)", "{0,0,700,500}", "{100,0,800,1000}"},
  };
  for (const auto& c : cases) {
    CStitchCheckStitch s;
    s.CreateStitchScreen(&kHalf, &kHalf);
    s.SetRightImagePt(&c.rp);
    Rect merge, left, right, stored;
    Point mergePt;
    s.CalcMergeRect(&merge, &mergePt, &left, &right);
    s.GetMergeImageRect(&stored);
    EXPECT_EQ(Str(merge), c.merge) << Str(c.rp);
    EXPECT_EQ(Str(stored), c.merge) << Str(c.rp);
    EXPECT_EQ(Str(mergePt), c.mergePt) << Str(c.rp);
    EXPECT_EQ(Str(left), c.left) << Str(c.rp);
    EXPECT_EQ(Str(right), c.right) << Str(c.rp);
  }
}

TEST(CStitchCheckStitch, RightPointStaysInReach) {
  struct Case {
    Rect right;
    Point proposed;
    const char* kept;
  };
  const Case cases[] = {
      {kHalf, {100, 1500}, "(600,1000)"},          {kHalf, {2000, -50}, "(1000,0)"}, {kHalf, {700, 500}, "(700,500)"},
      {{0, 0, 800, 400}, {800, 100}, "(800,600)"},  // its right edge never left of the left half's
      {{0, 0, 400, 1000}, {100, 0}, "(600,0)"},     // a quarter of the left height, not the right one
  };
  for (const auto& c : cases) {
    CStitchCheckStitch s;
    s.CreateStitchScreen(&kHalf, &c.right);
    Point p = c.proposed;
    s.CheckRightImagePt(&p);
    EXPECT_EQ(Str(p), c.kept) << Str(c.proposed) << " right " << Str(c.right);
  }
}

TEST(CStitchCheckStitch, SaveFrameComesRightWayUpInsideTheBoxAndOverTheSeam) {
  struct Case {
    const char* what;
    Point pt;
    Rect frame;
    const char *keptPt, *keptFrame;
  };
  const Case cases[] = {
      {"as drawn", {850, 100}, {0, 0, 600, 1700}, "(850,100)", "{0,0,600,1700}"},
      {"drawn upwards", {850, 100}, {600, 0, 0, 1700}, "(850,100)", "{0,0,600,1700}"},
      {"ends left of the seam", {850, 100}, {0, 0, 600, 500}, "(850,100)", "{0,0,600,901}"},
      {"starts right of the seam", {850, 950}, {0, 0, 100, 500}, "(850,899)", "{0,0,100,551}"},
      {"past the box", {0, -100}, {0, 0, 3000, 3000}, "(800,0)", "{0,0,900,1900}"},
  };
  for (const auto& c : cases) {
    auto s = TwoHalves({900, 900});
    s.SetMergeSaveFramePt(&c.pt);
    s.SetMergeSaveFrameRect(&c.frame);
    s.CheckMergeSaveFrame();
    Point pt;
    Rect frame;
    s.GetMergeSaveFramePt(&pt);
    s.GetMergeSaveFrameRect(&frame);
    EXPECT_EQ(Str(pt), c.keptPt) << c.what;
    EXPECT_EQ(Str(frame), c.keptFrame) << c.what;
  }
}

TEST(CStitchCheckStitch, SaveFrameSharesOfEachHalf) {
  auto s = TwoHalves({900, 900});
  const Point pt{850, 100};
  const Rect frame{0, 0, 600, 1700};
  s.SetMergeSaveFramePt(&pt);
  s.SetMergeSaveFrameRect(&frame);
  s.CalcMergeSaveLeftRect();
  s.CalcMergeSaveRightRect();
  Rect left, right;
  s.GetMergeSaveLeftRect(&left);
  s.GetMergeSaveRightRect(&right);
  EXPECT_EQ(Str(left), "{50,100,650,900}");
  EXPECT_EQ(Str(right), "{0,0,550,900}");
}

TEST(CStitchCheckStitch, ViewWindowOverTheSeam) {
  struct Case {
    Point rp, view;
    const char *leftSource, *leftTarget, *rightSource, *rightTarget, *frame;
  };
  const Case cases[] = {
      {{800, 1000},
       {800, 700},
       "{0,700,400,1000}",
       "{0,0,400,300}",
       "{0,0,400,300}",
       "{0,300,400,600}",
       "{50,-600,650,1100}"},
      {{900, 900},
       {1000, 700},
       "{200,700,600,1000}",
       "{0,0,400,300}",
       "{100,0,500,400}",
       "{0,200,400,600}",
       "{-150,-600,450,1100}"},
      {{1000, 1000},
       {700, 0},
       "{-100,0,300,300}",
       "{0,0,400,300}",
       "{0,0,100,-400}",
       "{300,1000,400,600}",
       "{150,100,750,1800}"},
  };
  const Rect viewRect{0, 0, 400, 600};
  const Point framePt{850, 100};
  const Rect frame{0, 0, 600, 1700};
  for (const auto& c : cases) {
    auto s = TwoHalves(c.rp);
    s.SetViewRect(&viewRect);
    s.CalcViewPt();
    Point centred;
    s.GetViewPt(&centred);
    EXPECT_EQ(Str(centred), "(800,700)");
    s.SetMergeSaveFramePt(&framePt);
    s.SetMergeSaveFrameRect(&frame);
    Rect source, target, onView;
    s.GetLeftImageRectOnView(&c.view, &viewRect, &source, &target);
    EXPECT_EQ(Str(source), c.leftSource) << Str(c.view);
    EXPECT_EQ(Str(target), c.leftTarget) << Str(c.view);
    s.GetRightImageRectOnView(&c.view, &viewRect, &source, &target);
    EXPECT_EQ(Str(source), c.rightSource) << Str(c.view);
    EXPECT_EQ(Str(target), c.rightTarget) << Str(c.view);
    s.GetMergeSaveRectOnView(&c.view, &onView);
    EXPECT_EQ(Str(onView), c.frame) << Str(c.view);
  }
}

}  // namespace
