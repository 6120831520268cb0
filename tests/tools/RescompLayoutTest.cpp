#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/rescomp/rcCompile.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes* b, unsigned long long v, int n) {
  for (int i = n - 1; i >= 0; --i) b->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

bool Compile(const std::string& source, Bytes* data, std::string* diagnostic) {
  ResFileImage image;
  if (!rcCompile({{"layout.r", source}}, RcOptions{}, &image, diagnostic)) return false;
  EXPECT_EQ(image.records.size(), 1u);
  EXPECT_EQ(image.records[0].type, static_cast<ResType>('PPob'));
  *data = image.records[0].data;
  return true;
}

}  // namespace

TEST(RescompLayout, WritesTheFieldsInStreamOrderWithDefaults) {
  Bytes data;
  std::string diagnostic;
  ASSERT_TRUE(Compile("layout 7 { capt 'Capx' { text \"Hi\" at 3 4 size 10 20 id 'ABCD' extra { i16 9 } } }", &data,
                      &diagnostic))
      << diagnostic;
  Bytes expected;
  Put(&expected, 1, 2);
  Put(&expected, 'objd', 4);
  Bytes fields;
  Put(&fields, 'ABCD', 4);                   // id
  Put(&fields, 10, 2);                       // size
  Put(&fields, 20, 2);
  Put(&fields, 1, 1);                        // visible (default)
  Put(&fields, 1, 1);                        // enabled (default)
  Put(&fields, 0, 4);                        // bindings (default)
  Put(&fields, 3, 4);                        // at
  Put(&fields, 4, 4);
  Put(&fields, 0, 4);                        // user constant
  Put(&fields, 0xFFFFFFFF, 4);               // superview: the enclosing one
  fields.insert(fields.end(), {2, 'H', 'i'});  // text
  Put(&fields, 0, 2);                        // traits
  Put(&fields, 9, 2);                        // extra
  Put(&expected, fields.size(), 4);
  Put(&expected, 'Capx', 4);
  expected.insert(expected.end(), fields.begin(), fields.end());
  Put(&expected, 'end.', 4);
  EXPECT_EQ(data, expected);
}

TEST(RescompLayout, NestedObjectsAreBracketed) {
  Bytes data;
  std::string diagnostic;
  ASSERT_TRUE(Compile("layout 8 { view { size 5 5 at 0 0 { pane { size 1 1 at 0 0 } radg { radios 1 2 } } } }", &data,
                      &diagnostic))
      << diagnostic;
  auto count = [&](UInt32 tag) {
    int n = 0;
    for (size_t i = 0; i + 4 <= data.size(); ++i)
      if (((UInt32(data[i]) << 24) | (UInt32(data[i + 1]) << 16) | (UInt32(data[i + 2]) << 8) | data[i + 3]) == tag) ++n;
    return n;
  };
  EXPECT_EQ(count('begs'), 1);
  EXPECT_EQ(count('ends'), 1);
  EXPECT_EQ(count('objd'), 3);
}

TEST(RescompLayout, ABadLayoutFailsTheBuildWithTheReason) {
  struct Bad {
    const char* source;
    const char* message;
  } const kBad[] = {
      {"layout 1 { wind { title \"x\" bounds 0 0 1 1 { qqqq { } } } }", "unknown class 'qqqq'"},
      {"layout 1 { push { id 1 size 1 1 at 0 0 title \"a\" bogus 3 } }", "'push' has no field 'bogus'"},
      {"layout 1 { push { id 1 at 0 0 title \"a\" } }", "'push' needs field 'size'"},
      {"layout 1 { capt { size 1 1 at 0 0 text \"a\" text \"b\" } }", "field 'text' given twice"},
      {"layout 1 { capt { size 1 1 at 0 0 text \"a\" { } } }", "'capt' holds no other objects"},
      {"layout 1 { radg { radios 1 } }", "a layout starts with a pane"},
      {"layout 1 { pane { size 1 1 at 0 0 } pane { size 1 1 at 0 0 } }", "a layout holds one top object"},
      {"layout 1 { pane { size 70000 1 at 0 0 } }", "outside"},
  };
  for (const Bad& b : kBad) {
    Bytes data;
    std::string diagnostic;
    EXPECT_FALSE(Compile(b.source, &data, &diagnostic)) << b.source;
    EXPECT_NE(diagnostic.find(b.message), std::string::npos) << diagnostic;
  }
}

// Views nested `levels` deep, one per line.
std::string NestedViews(int levels) {
  std::string source = "layout 1 {\n";
  for (int i = 0; i < levels; ++i) source += "view { size 1 1 at 0 0 {\n";
  for (int i = 0; i < levels; ++i) source += "} }\n";
  return source + "}\n";
}

TEST(RescompLayout, NestingIsBoundedAndReportedWhereItGoesTooDeep) {
  Bytes data;
  std::string diagnostic;
  EXPECT_TRUE(Compile(NestedViews(64), &data, &diagnostic)) << diagnostic;
  // 1,000 levels ran the sanitizer build out of stack.
  EXPECT_FALSE(Compile(NestedViews(1000), &data, &diagnostic));
  EXPECT_EQ(diagnostic.rfind("layout.r:66: error: objects nest deeper than 64 levels", 0), 0u) << diagnostic;
}
