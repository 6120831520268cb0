// Every class the resource compiler knows reads back exactly the fields it writes: a layout
// made from each class's table row, with its defaults, is built through the registry and
// every class's stream constructor takes its object's bytes to the last.
#include <gtest/gtest.h>

#include <set>

#include <memory>
#include <span>
#include <string>

#include "app/AppLayoutClasses.h"
#include "app/CPictureButton.h"
#include "app/CPopupButton.h"
#include "app/CCustomSize_EditText.h"
#include "app/CDDArea_EditText.h"
#include "app/CEditText.h"
#include "app/CEditTextNotGray.h"
#include "app/CExifEditText.h"
#include "app/CCicnButton.h"
#include "app/CPicture.h"
#include "app/CToolTip.h"
#include "app/CTextTable.h"
#include "framework/LDataStream.h"
#include "framework/TRegistrar.h"
#include "framework/UReanimator.h"
#include "framework/URegistrar.h"
#include "tests/support/HeadlessApp.h"
#include "tools/rescomp/rcCompile.h"

namespace {

class LayoutClasses : public wxtest::HeadlessApp, public testing::WithParamInterface<LayoutClass> {
 protected:
  void RegisterClasses() override {
    RegisterClass_(CPictureButton);
    RegisterClass_(CPopupButton);
    RegisterClass_(CTextTable);
    RegisterClass_(CEditText);
    RegisterClass_(CCustomSize_EditText);
    RegisterClass_(CEditTextNotGray);
    RegisterClass_(CDDArea_EditText);
    RegisterClass_(CExifEditText);
    RegisterClass_(CToolTip);
    RegisterClass_(CPicture);
    RegisterClass_(CCicnButton);
  }
};

// Rectangles and sizes come out whole: 20 120 220 320.
std::string RequiredFields(const LayoutClass& c) {
  std::string text;
  for (LayoutGroup group : c.groups)
    for (const LayoutField& f : group) {
      if (!f.required || text.find(std::string(" ") + f.name + " ") != std::string::npos) continue;
      text += std::string(" ") + f.name + " ";
      for (int i = 0; i < f.count; ++i)
        text += f.type == LayoutType::PStr ? "\"x\" " : std::to_string(20 + 100 * i) + " ";
    }
  return text;
}

// A pane class stands alone; the others sit in a view after a pane they may attach to.
std::string LayoutSource(const LayoutClass& c) {
  const std::string object = std::string(c.keyword) + " {" + RequiredFields(c) + "}";
  if (c.pane) return "layout 500 { " + object + " }";
  return "layout 500 { view { size 100 100 at 0 0 { pane { size 1 1 at 0 0 } " + object + " } } }";
}

}  // namespace

void PrintTo(const LayoutClass& c, std::ostream* out) { *out << c.keyword; }

TEST_P(LayoutClasses, ReadBackWhatTheCompilerWrites) {
  const LayoutClass& c = GetParam();
  if (!URegistrar::IsRegistered(c.classID)) GTEST_SKIP() << c.keyword << " is not built from layouts on its own";
  ResFileImage image;
  std::string diagnostic;
  const std::string source = LayoutSource(c);
  ASSERT_TRUE(rcCompile({{"layout.r", source}}, RcOptions{}, &image, &diagnostic)) << diagnostic << "\n" << source;
  const std::vector<uint8_t>& data = image.records.at(0).data;
  LDataStream stream(static_cast<const void*>(data.data()), static_cast<SInt32>(data.size()));
  std::unique_ptr<LPane> top;
  ASSERT_NO_THROW(top.reset(UReanimator::ReadPanes(stream, 500, mApp))) << source;
  EXPECT_TRUE(top);
  EXPECT_TRUE(stream.AtEnd());
}

namespace {

// Every class a layout of this program builds on its own: not the control and attachment
// bases, which only classes derived from them build, nor the dialogs, which live above app/.
std::vector<LayoutClass> AllClasses() {
  const std::set<ClassIDT> notHere = {'cntl', 'atch', 'SIdg', 'Sdlg', 'S1lg', 'S2lg'};
  std::vector<LayoutClass> all;
  const auto add = [&](const auto& table) {
    for (const LayoutClass& c : table)
      if (!notHere.count(c.classID)) all.push_back(c);
  };
  add(layout::kFrameworkClasses);
  add(layout::kApplicationClasses);
  return all;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Table, LayoutClasses, testing::ValuesIn(AllClasses()),
                         [](const testing::TestParamInfo<LayoutClass>& i) { return std::string(i.param.keyword); });
