#include "toolbox/LazyLibrary.h"

#include <gtest/gtest.h>

namespace {

TEST(LazyLibrary, LoadsWhatIsThereAndNamesWhatIsNot) {
  struct Case {
    const char* soname;
    const char* symbol;
    bool opens, loads;
    const char* error;  // what the error names
  } cases[] = {
      {"libm.so.6", "cos", true, true, ""},
      {"libm.so.6", "wx_no_such_call", true, false, "libm.so.6 has no wx_no_such_call"},
      {"libwx-no-such-library.so.1", "cos", false, false, "libwx-no-such-library.so.1 is not installed"},
  };
  for (const Case& c : cases) {
    LazyLibrary library(c.soname, "A test");
    double (*call)(double) = nullptr;
    int fills = 0;
    auto fill = [&](LazyLibrary& l) { return ++fills, l.Find(c.symbol, &call); };
    EXPECT_EQ(library.Load(fill), c.loads) << c.soname << " " << c.symbol;
    if (c.loads) {
      EXPECT_EQ(call(0.0), 1.0);
    }
    EXPECT_NE(library.Error().find(c.error), std::string::npos) << library.Error();
    EXPECT_EQ(library.Load(fill), c.loads) << "a second try gives the same answer";
    EXPECT_EQ(fills, c.opens ? 1 : 0) << "the calls are looked up once, in an opened library";
  }
}

}  // namespace
