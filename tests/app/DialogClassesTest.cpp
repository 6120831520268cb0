// The executable's own class list: each dialog class it names is built by that class's
// creator under its own ID and parent.
#include "app/wendrix/DialogClasses.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "output/hubdialogs/CFileNameAddDialog.h"
#include "output/hubdialogs/CFileNameAddPopup.h"

namespace {

TEST(DialogClasses, ListBuildsTheFileNameDialogAndItsPopup) {
  const SAppClassEntry expected[] = {AppClassEntry<CFileNameAddDialog>(), AppClassEntry<CFileNameAddPopup>()};
  const AppClassList& classes = DialogClasses();
  for (const SAppClassEntry& want : expected) {
    const auto found = std::find_if(classes.begin(), classes.end(),
                                    [&](const SAppClassEntry& entry) { return entry.classID == want.classID; });
    ASSERT_NE(found, classes.end()) << "class " << want.classID;
    EXPECT_EQ(found->creator, want.creator) << "class " << want.classID;
    EXPECT_EQ(found->parentID, want.parentID) << "class " << want.classID;
    EXPECT_EQ(std::count_if(classes.begin(), classes.end(),
                            [&](const SAppClassEntry& entry) { return entry.classID == want.classID; }),
              1);
  }
}

}  // namespace
