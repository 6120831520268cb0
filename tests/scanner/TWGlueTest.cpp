#include <gtest/gtest.h>

#include <cstring>

#include "FakeScan.h"
#include "scanner/TWGlue.h"
#include "toolbox/MacMemory.h"

namespace wxscan {
namespace {

class TWGlueTest : public FakeScanTest {};

TEST_F(TWGlueTest, EventsAreNotTheSourcesWhileNoSourceIsEnabled) {
  CTWAIN::TerminateTWAIN();
  EXPECT_EQ(TWRC_NOTDSEVENT, TWEventDS(nullptr, nullptr));
}

TEST_F(TWGlueTest, ACloseRequestClosesTheSourceBeforeTheCallerSeesIt) {
  Open("close_request=1");
  ASSERT_EQ(0, TWAcquire(0));  // the null event right after enabling is accepted
  EXPECT_TRUE(TWIsDSEnabled());
  EventRecord event{};
  short message = 0;
  EXPECT_EQ(TWRC_SUCCESS, TWEventDS(&event, &message));
  EXPECT_EQ(MSG_CLOSEDSREQ, message);
  EXPECT_FALSE(TWIsDSEnabled());
  EXPECT_FALSE(TWIsDSOpen());
  std::string log = Log();
  EXPECT_NE(std::string::npos, log.find("0001 0002 0601 event=null rc=5"));
  EXPECT_NE(std::string::npos, log.find("0001 0003 0402 rc=0"));
}

TEST_F(TWGlueTest, ClosingMarksTheSourceClosedWhateverTheAnswer) {
  Open("");
  ASSERT_EQ(0, TWAcquire(0));
  EXPECT_NE(0, TWCloseDS());  // refused: the source is still enabled
  EXPECT_FALSE(TWIsDSOpen());
  EXPECT_FALSE(TWIsDSEnabled());
}

TEST_F(TWGlueTest, ContainersCarryTheirItems) {
  TW_CAPABILITY cap{};
  const TW_UINT16 items[] = {1, 8, 24};
  ASSERT_EQ(0, SetupEnumeration(&cap, TWTY_UINT16, 3, 2, 0, reinterpret_cast<const unsigned char*>(items)));
  auto* e = reinterpret_cast<TW_ENUMERATION*>(*cap.hContainer);
  EXPECT_EQ(TWON_ENUMERATION, cap.ConType);
  EXPECT_EQ(3u, e->NumItems);
  EXPECT_EQ(2u, e->CurrentIndex);
  EXPECT_EQ(0, std::memcmp(e->ItemList, items, sizeof items));
  DisposeHandle(cap.hContainer);
  const short sizes[] = {1, 2, 4, 1, 2, 4, 2, 4, 16, 32, 64, 128, 256, 0};
  for (short type = 0; type < 14; ++type) EXPECT_EQ(sizes[type], GetItemSize(type)) << type;
}

}  // namespace
}  // namespace wxscan
