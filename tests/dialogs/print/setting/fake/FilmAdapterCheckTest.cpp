#include <gtest/gtest.h>

#include <string>

#include "FakeScript.h"
#include "SettingDialogTestEnv.h"

namespace wxapp {
namespace {

class FilmAdapterCheckTest : public SettingDialogTest {
 protected:
  static void SetUpTestSuite() { wxfake::UseFakeSource(); }
  wxtest::ScratchDir mScript;
};

TEST_F(FilmAdapterCheckTest, OKSetsTheFilmAdapterByWhetherTheSourceTakesTheTransmissiveLightPath) {
  const struct {
    const char* script;
    UInt8 filmAdapter, checkDone;
  } cases[] = {
      {"", 1, 1},
      {"refuse_set=1", 0, 0},  // the check-done byte keeps what it was
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    Configure("Dremlo Model A", 0);
    wxfake::WriteFakeScript(mScript.path(), std::string("name=Dremlo Model A\n") + c.script);
    ASSERT_NE(nullptr, Open());
    Click(900);
    EXPECT_EQ(nullptr, Dialog()) << "the source opened, so OK closes";
    WithPrefs([&](RecordBytes all) {
      RecordBytes setting = PREF_ALL::kSetting.in(all);
      EXPECT_EQ(c.filmAdapter, PREF_SETTING::kFilmAdapter.get(setting));
      EXPECT_EQ(c.checkDone, PREF_SETTING::kCheckDone.get(setting));
    });
    delete mApp;
    mApp = nullptr;
  }
}

}  // namespace
}  // namespace wxapp
