// Arcs and polygons inside pictures play back pixel for pixel like the ovals, rectangles
// and lines they are made of.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "QDTestSupport.h"
#include "quickdraw/qdDraw.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"

namespace {

using qdtest::World;

Rect R(int l, int t, int r, int b) { return Rect{SInt16(t), SInt16(l), SInt16(b), SInt16(r)}; }

void Word(std::vector<uint8_t>* o, int v) {
  o->push_back(uint8_t(v >> 8));
  o->push_back(uint8_t(v));
}
void RectWords(std::vector<uint8_t>* o, const Rect& r) {
  for (int v : {r.top, r.left, r.bottom, r.right}) Word(o, v);
}

// The grey fill pattern, then the drawing.
std::vector<uint8_t> WithGreyFill(const std::vector<uint8_t>& ops) {
  std::vector<uint8_t> o;
  Word(&o, 0x000A);
  for (int i = 0; i < 8; ++i) o.push_back(i % 2 ? 0x55 : 0xAA);
  o.insert(o.end(), ops.begin(), ops.end());
  return o;
}

std::vector<uint8_t> ArcOp(int op, const Rect* r, int start, int arc) {
  std::vector<uint8_t> o;
  Word(&o, op);
  if (r) RectWords(&o, *r);
  Word(&o, start);
  Word(&o, arc);
  return o;
}

std::vector<uint8_t> PolygonOp(int op, const std::vector<Point>& points) {
  std::vector<uint8_t> o;
  Word(&o, op);
  if (points.empty()) return o;
  Word(&o, 10 + 4 * int(points.size()));
  RectWords(&o, R(0, 0, 0, 0));  // readers take the box from the points
  for (Point p : points) {
    Word(&o, p.v);
    Word(&o, p.h);
  }
  return o;
}

// A picture of `frame` whose drawing is `ops`.
PicHandle WithOpcodes(const Rect& frame, const std::vector<uint8_t>& ops) {
  PicHandle pic = OpenPicture(&frame);
  ClosePicture();
  auto h = reinterpret_cast<Handle>(pic);
  std::vector<uint8_t> bytes(reinterpret_cast<uint8_t*>(*h), reinterpret_cast<uint8_t*>(*h) + GetHandleSize(h));
  EXPECT_EQ(BEGetU16(bytes.data() + bytes.size() - 2), 0x00FF);
  bytes.resize(bytes.size() - 2);
  std::vector<uint8_t> drawing = WithGreyFill(ops);
  bytes.insert(bytes.end(), drawing.begin(), drawing.end());
  Word(&bytes, 0x00FF);
  SetHandleSize(h, Size(bytes.size()));
  std::memcpy(*h, bytes.data(), bytes.size());
  BEPutU16(*h, uint16_t(bytes.size()));
  return pic;
}

// Black on the left half, so erasing and inverting show.
void Backdrop(int w, int h) {
  Rect left = R(0, 0, w / 2, h);
  PaintRect(&left);
}

const char* const kVerbs[] = {"frame", "paint", "erase", "invert", "fill"};

std::string Played(int size, int frameSize, const std::vector<uint8_t>& ops) {
  World w(size, size);
  Backdrop(size, size);
  Rect frame = R(0, 0, frameSize, frameSize), dst = R(0, 0, size, size);
  PicHandle pic = WithOpcodes(frame, ops);
  DrawPicture(pic, &dst);
  KillPicture(pic);
  return w.Picture();
}

std::string Direct(int size, const std::function<void()>& draw) {
  World w(size, size);
  Backdrop(size, size);
  draw();
  return w.Picture();
}

TEST(ArcPlayback, EachVerbDrawsTheOvalInsideTheWedge) {
  struct Case {
    int start, arc;
    Rect wedge;  // the part of the oval's rectangle the wedge covers
  } cases[] = {
      {0, 90, R(6, 1, 10, 5)},    // upper right
      {90, -90, R(6, 1, 10, 5)},  // the same quarter counterclockwise
      {180, 180, R(2, 1, 6, 9)},  // left half
      {-90, 450, R(2, 1, 10, 9)}, // more than a turn: the whole oval
  };
  const Rect oval = R(2, 1, 10, 9);
  for (const Case& c : cases)
    for (int scale : {1, 2})
      for (int verb = 0; verb < 5; ++verb) {
        std::string played = Played(12 * scale, 12, ArcOp(0x60 + verb, &oval, c.start, c.arc));
        std::string direct = Direct(12 * scale, [&] {
          Rect o = oval, wedge = c.wedge;
          for (Rect* r : {&o, &wedge}) *r = R(r->left * scale, r->top * scale, r->right * scale, r->bottom * scale);
          ClipRect(&wedge);
          Pattern grey;
          GetQDGlobalsGray(&grey);
          if (verb == 0) FrameOval(&o);
          if (verb == 1) PaintOval(&o);
          if (verb == 2) EraseOval(&o);
          if (verb == 3) InvertOval(&o);
          if (verb == 4) FillOval(&o, &grey);
        });
        EXPECT_EQ(played, direct) << kVerbs[verb] << " start " << c.start << " arc " << c.arc << " scale " << scale;
      }
}

TEST(ArcPlayback, SameArcUsesTheLastRectangle) {
  const Rect oval = R(2, 1, 10, 9);
  std::vector<uint8_t> ops = ArcOp(0x61, &oval, 0, 90);
  std::vector<uint8_t> same = ArcOp(0x69, nullptr, 180, 90);  // paint the lower left quarter
  ops.insert(ops.end(), same.begin(), same.end());
  std::string direct = Direct(12, [&] {
    Rect o = oval;
    Rect quarters[] = {R(6, 1, 10, 5), R(2, 5, 6, 9)};
    for (const Rect& q : quarters) {
      ClipRect(&q);
      PaintOval(&o);
    }
  });
  EXPECT_EQ(Played(12, 12, ops), direct);
}

TEST(PolygonPlayback, ARectangularPolygonFillsLikeItsRectangle) {
  const std::vector<Point> square = {{2, 2}, {2, 9}, {7, 9}, {7, 2}, {2, 2}};
  for (int scale : {1, 2})
    for (int verb = 0; verb < 5; ++verb) {
      std::string played = Played(12 * scale, 12, PolygonOp(0x70 + verb, square));
      std::string direct = Direct(12 * scale, [&] {
        Pattern grey;
        GetQDGlobalsGray(&grey);
        Rect r = R(2 * scale, 2 * scale, 9 * scale, 7 * scale);
        if (verb == 0) {
          MoveTo(2 * scale, 2 * scale);
          for (size_t i = 1; i < square.size(); ++i) LineTo(square[i].h * scale, square[i].v * scale);
        }
        if (verb == 1) PaintRect(&r);
        if (verb == 2) EraseRect(&r);
        if (verb == 3) InvertRect(&r);
        if (verb == 4) FillRect(&r, &grey);
      });
      EXPECT_EQ(played, direct) << kVerbs[verb] << " scale " << scale;
    }
}

TEST(PolygonPlayback, TriangleCoversThePixelsWhoseCentresAreInside) {
  // Centres (x + 0.5, y + 0.5) inside the triangle (0,0), (8,0), (0,8): x + y < 7.
  World w(10, 10);
  Rect frame = R(0, 0, 10, 10);
  PicHandle pic = WithOpcodes(frame, PolygonOp(0x71, {{0, 0}, {0, 8}, {8, 0}}));
  DrawPicture(pic, &frame);
  KillPicture(pic);
  std::string want;
  for (int y = 0; y < 10; ++y) {
    if (y) want += '\n';
    for (int x = 0; x < 10; ++x) want += x + y < 7 ? '#' : '.';
  }
  EXPECT_EQ(w.Picture(), want);
}

TEST(PolygonPlayback, SamePolygonRepeatsTheLastPointsAndDamageStops) {
  const std::vector<Point> square = {{2, 2}, {2, 9}, {7, 9}, {7, 2}};
  std::vector<uint8_t> ops = PolygonOp(0x71, square);
  std::vector<uint8_t> same = PolygonOp(0x7B, {});  // invert the same polygon
  ops.insert(ops.end(), same.begin(), same.end());
  EXPECT_EQ(Played(12, 12, ops), Direct(12, [] {
              Rect r = R(2, 2, 9, 7);
              PaintRect(&r);
              InvertRect(&r);
            }));

  // A polygon whose size word is below its header, then a paint that must not happen.
  std::vector<uint8_t> damaged = {0x00, 0x71, 0x00, 0x04};
  Rect r = R(0, 0, 12, 12);
  std::vector<uint8_t> after;
  Word(&after, 0x0031);
  RectWords(&after, r);
  damaged.insert(damaged.end(), after.begin(), after.end());
  EXPECT_EQ(Played(12, 12, damaged), Direct(12, [] {}));
}

}  // namespace

TEST(PolygonPlayback, AWidePenFramesLikeItsLines) {
  const std::vector<Point> zigzag = {{1, 1}, {3, 10}, {9, 2}, {10, 9}, {2, 6}};
  std::vector<uint8_t> ops;
  Word(&ops, 0x0007);  // pen 3 wide, 2 high
  Word(&ops, 2);
  Word(&ops, 3);
  std::vector<uint8_t> frame = PolygonOp(0x70, zigzag);
  ops.insert(ops.end(), frame.begin(), frame.end());
  EXPECT_EQ(Played(12, 12, ops), Direct(12, [&] {
              PenSize(3, 2);
              MoveTo(zigzag[0].h, zigzag[0].v);
              for (size_t i = 1; i < zigzag.size(); ++i) LineTo(zigzag[i].h, zigzag[i].v);
            }));
}

// Playing a picture takes work in proportion to its size: two bytes that say "frame the same
// polygon again" must not each cost a walk of thousands of pixels for ever.
TEST(PolygonPlayback, AHostilePictureStopsAtItsWorkLimit) {
  std::vector<uint8_t> ops;
  Word(&ops, 0x0007);  // a wide pen
  Word(&ops, 40);
  Word(&ops, 40);
  std::vector<Point> zigzag;
  for (int i = 0; i < 64; ++i) zigzag.push_back(i % 2 ? Point{30000, 30000} : Point{-30000, -30000});
  std::vector<uint8_t> first = PolygonOp(0x70, zigzag);
  ops.insert(ops.end(), first.begin(), first.end());
  for (int i = 0; i < 60; ++i) Word(&ops, 0x0078);
  World w(64, 64);
  Rect frame = R(0, 0, 64, 64);
  PicHandle pic = WithOpcodes(frame, ops);
  const uint64_t before = qdDrawWork();
  DrawPicture(pic, &frame);
  EXPECT_EQ(QDError(), noMemForPictPlaybackErr);
  EXPECT_LT(qdDrawWork() - before, uint64_t(40) << 20);
  KillPicture(pic);

  // An ordinary picture plays whole.
  PicHandle plain = WithOpcodes(frame, PolygonOp(0x70, {{2, 2}, {2, 9}, {7, 9}}));
  DrawPicture(plain, &frame);
  EXPECT_EQ(QDError(), noErr);
  KillPicture(plain);
}

// A colour profile read as a picture (the fuzz target's way) once played for minutes.
TEST(PolygonPlayback, AColourProfileReadAsAPictureEndsSoon) {
  std::ifstream in("/usr/share/color/icc/ghostscript/default_cmyk.icc", std::ios::binary);
  ASSERT_TRUE(in) << "scripts/setup installs libgs-common";
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  World w(64, 64);
  Handle h = nullptr;
  ASSERT_EQ(PtrToHand(bytes.data(), &h, Size(bytes.size())), noErr);
  Rect dst = R(0, 0, 64, 64);
  const uint64_t before = qdDrawWork();
  DrawPicture(reinterpret_cast<PicHandle>(h), &dst);
  EXPECT_LT(qdDrawWork() - before, uint64_t(64) << 20);
  DisposeHandle(h);
}
