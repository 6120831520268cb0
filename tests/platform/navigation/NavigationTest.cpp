// A folder's items as the chooser sees them, the type list, and the object filter's view
// of an item ('fss ' descriptor and its info).
#include "navigation/Navigation.h"

#include <gtest/gtest.h>

#include "ChooserFixtures.h"
#include "navigation/LFileTypeList.h"
#include "support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

class NavItems : public ::testing::Test {
 protected:
  void SetUp() override { wxtest::MakeChooserTree(dir.path()); }
  wxtest::ScratchDir dir;
};

struct ItemCase {
  const char* path;
  bool packages;
  const char* shown;
  bool folder, package, isFolder;
  UInt16 flags;  // the Finder flags the filter sees (a folder's or a file's)
  OSType type;
};

class ItemTable : public NavItems, public ::testing::WithParamInterface<ItemCase> {};

TEST_P(ItemTable, ItemsCarryWhatTheFilterNeeds) {
  const ItemCase& c = GetParam();
  NavItem item;
  ASSERT_TRUE(NavMakeItem((dir / c.path).string(), c.packages, &item));
  EXPECT_EQ(item.shown, c.shown);
  EXPECT_EQ(item.folder, c.folder);
  EXPECT_EQ(item.package, c.package);
  EXPECT_EQ(bool(item.info.isFolder), c.isFolder);
  EXPECT_EQ(c.isFolder ? item.info.fileAndFolder.folderInfo.frFlags
                       : item.info.fileAndFolder.fileInfo.finderInfo.fdFlags,
            c.flags);
  EXPECT_EQ(item.type, c.type);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ItemTable,
    ::testing::Values(ItemCase{"docs/a.pdf", true, "a.pdf", false, false, false, 0, 0},
                      ItemCase{"docs/sub", true, "sub", true, false, true, 0, 0},
                      ItemCase{"apps/viewer.desktop", true, "Image Viewer", false, false, false, 0, 'APPL'},
                      ItemCase{"apps/tool", true, "tool", false, false, false, 0, 'APPL'},
                      ItemCase{"apps/Viewer.app", true, "Viewer.app", false, true, true, kIsAlias, 'APPL'},
                      ItemCase{"apps/Viewer.app", false, "Viewer.app", true, false, true, kIsAlias, 'APPL'},
                      ItemCase{"apps/Data.pkg", true, "Data.pkg", false, true, true, kIsAlias, 'BNDL'},
                      ItemCase{"link-to-docs", true, "link-to-docs", true, false, false, kIsAlias, 0},
                      ItemCase{"link-to-a", true, "link-to-a", false, false, false, kIsAlias, 0}),
    [](const auto& info) { return std::to_string(info.index); });

TEST_F(NavItems, DotFilesAreLeftOutAndFoldersComeFirst) {
  std::vector<std::string> names;
  for (const NavItem& item : NavListFolder((dir / "docs").string(), true)) names.push_back(item.shown);
  EXPECT_EQ(names, (std::vector<std::string>{"sub", "a.pdf", "b.txt"}));
}

TEST_F(NavItems, AMissingItemIsNone) {
  NavItem item;
  EXPECT_FALSE(NavMakeItem((dir / "gone").string(), true, &item));
  EXPECT_TRUE(NavListFolder((dir / "gone").string(), true).empty());
}

// What a filter saw of the last item, and its answer.
struct Seen {
  DescType type = 0;
  FSSpec spec{};
  NavFileOrFolderInfo info;
  Boolean answer = true;
};

Boolean Record(AEDesc* item, void* info, void* userData, NavFilterModes) {
  auto* seen = static_cast<Seen*>(userData);
  seen->type = item->descriptorType;
  NavGetItemSpec(item, &seen->spec);
  seen->info = *static_cast<NavFileOrFolderInfo*>(info);
  return seen->answer;
}

TEST_F(NavItems, TheFilterGetsAnFssDescriptorAndDecides) {
  for (Boolean answer : {true, false}) {
    NavItem item;
    ASSERT_TRUE(NavMakeItem((dir / "link-to-a").string(), true, &item));
    Seen seen;
    seen.answer = answer;
    EXPECT_EQ(NavFilterShows(item, Record, &seen), bool(answer));
    EXPECT_EQ(seen.type, DescType(typeFSS));
    EXPECT_EQ(wxtest::SpecPathText(seen.spec), (dir / "link-to-a").string());
    EXPECT_FALSE(seen.info.isFolder);
    EXPECT_EQ(seen.info.fileAndFolder.fileInfo.finderInfo.fdFlags, kIsAlias);
  }
  NavItem item;
  ASSERT_TRUE(NavMakeItem((dir / "docs").string(), true, &item));
  EXPECT_TRUE(NavFilterShows(item, nullptr, nullptr));
}

TEST(NavItemSpec, OnlyAnFssDescriptorHoldsOne) {
  AEDesc desc;
  AEInitializeDesc(&desc);
  ASSERT_EQ(AECreateDesc(typeChar, "abc", 3, &desc), noErr);
  FSSpec spec{};
  EXPECT_EQ(NavGetItemSpec(&desc, &spec), paramErr);
  AEDisposeDesc(&desc);
  EXPECT_EQ(NavGetItemSpec(nullptr, &spec), paramErr);
}

struct TypeCase {
  std::vector<OSType> types;
  OSType type;
  bool accepted;
};

class TypeListTable : public ::testing::TestWithParam<TypeCase> {};

TEST_P(TypeListTable, AcceptsItsTypesOrAnyWhenEmpty) {
  const TypeCase& c = GetParam();
  LFileTypeList list(SInt16(c.types.size()), c.types.data());
  EXPECT_EQ(list.Accepts(c.type), c.accepted);
}

INSTANTIATE_TEST_SUITE_P(Table, TypeListTable,
                         ::testing::Values(TypeCase{{}, 'PDF ', true}, TypeCase{{}, 0, true},
                                           TypeCase{{'APPL', 'adrp'}, 'APPL', true},
                                           TypeCase{{'APPL', 'adrp'}, 'adrp', true},
                                           TypeCase{{'APPL', 'adrp'}, 'TEXT', false},
                                           TypeCase{{'APPL'}, 0, false}),
                         [](const auto& info) { return std::to_string(info.index); });

}  // namespace
