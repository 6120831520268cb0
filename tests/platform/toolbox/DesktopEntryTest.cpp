// A desktop entry's name in the user's language: the locale's own Name key, then its
// language's, then the plain Name.
#include "toolbox/DesktopEntry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "support/TestEnv.h"

namespace {

struct NameCase {
  const char* name;
  const char* lcAll;
  const char* lang;
  const char* shown;
};

class DesktopNameTable : public ::testing::TestWithParam<NameCase> {
 protected:
  void SetUp() override {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
      if (const char* value = std::getenv(variable)) saved.emplace_back(variable, value);
    unsetenv("LC_MESSAGES");
  }
  void TearDown() override {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) unsetenv(variable);
    for (const auto& [variable, value] : saved) setenv(variable.c_str(), value.c_str(), 1);
  }
  std::vector<std::pair<std::string, std::string>> saved;
  wxtest::ScratchDir dir;
};

TEST_P(DesktopNameTable, NameInTheUsersLanguage) {
  const NameCase& c = GetParam();
  c.lcAll ? setenv("LC_ALL", c.lcAll, 1) : unsetenv("LC_ALL");
  c.lang ? setenv("LANG", c.lang, 1) : unsetenv("LANG");
  std::ofstream(dir / "viewer.desktop") << "[Desktop Entry]\nName[fr]=Visionneuse\nType=Application\nName=Viewer\n"
                                           "Name[de_AT]=Betrachter (AT)\nName[de]=Betrachter\nExec=viewer\n"
                                           "[Desktop Action New]\nName[ja]=New\n";
  DesktopEntry entry;
  ASSERT_TRUE(DesktopEntryRead((dir / "viewer.desktop").string(), &entry));
  EXPECT_EQ(entry.name, c.shown);
}

INSTANTIATE_TEST_SUITE_P(Table, DesktopNameTable,
                         ::testing::Values(NameCase{"NoLocale", nullptr, nullptr, "Viewer"},
                                           NameCase{"CLocale", nullptr, "C.UTF-8", "Viewer"},
                                           NameCase{"French", nullptr, "fr_FR.UTF-8", "Visionneuse"},
                                           NameCase{"GermanLanguageOnly", nullptr, "de_CH.UTF-8", "Betrachter"},
                                           NameCase{"GermanCountryFirst", nullptr, "de_AT.UTF-8@euro", "Betrachter (AT)"},
                                           NameCase{"JapaneseOnlyInAnotherGroup", nullptr, "ja_JP.UTF-8", "Viewer"},
                                           NameCase{"LcAllBeforeLang", "fr_CA", "de_DE.UTF-8", "Visionneuse"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
