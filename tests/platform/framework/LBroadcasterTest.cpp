#include "framework/LBroadcaster.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/LListener.h"

namespace {

struct Recorder : LListener {
  std::vector<MessageT> heard;
  std::function<void(MessageT)> onMessage;
  void ListenToMessage(MessageT message, void*) override {
    heard.push_back(message);
    if (onMessage) onMessage(message);
  }
};

}  // namespace

TEST(LBroadcaster, DeliversToListenersInOrderWithTheParameter) {
  LBroadcaster b;
  std::vector<int> order;
  struct Tagged : LListener {
    std::vector<int>* order;
    int tag;
    void* lastParam = nullptr;
    void ListenToMessage(MessageT, void* p) override {
      order->push_back(tag);
      lastParam = p;
    }
  } one, two;
  one.order = two.order = &order;
  one.tag = 1;
  two.tag = 2;
  b.AddListener(&one);
  b.AddListener(&two);
  b.AddListener(&one);  // once only
  int payload = 5;
  b.BroadcastMessage(900, &payload);
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
  EXPECT_EQ(two.lastParam, &payload);
  b.StopBroadcasting();
  b.BroadcastMessage(901);
  EXPECT_EQ(order.size(), 2u);
}

TEST(LBroadcaster, AListenerMayDeleteTheBroadcasterDuringItsBroadcast) {
  auto* b = new LBroadcaster;
  Recorder first, second;
  first.onMessage = [&](MessageT) { delete b; };
  b->AddListener(&first);
  b->AddListener(&second);
  b->BroadcastMessage('TEnd');
  EXPECT_EQ(first.heard.size(), 1u);
  EXPECT_TRUE(second.heard.empty());  // the broadcaster was gone before its turn
  EXPECT_FALSE(first.HasBroadcaster(b));
}

TEST(LBroadcaster, NestedBroadcastThenDeletion) {
  auto* b = new LBroadcaster;
  Recorder r;
  r.onMessage = [&](MessageT m) {
    if (m == 1) b->BroadcastMessage(2);
    if (m == 2) delete b;
  };
  b->AddListener(&r);
  b->BroadcastMessage(1);
  EXPECT_EQ(r.heard, (std::vector<MessageT>{1, 2}));
}

TEST(LBroadcaster, AListenerDeletedDuringABroadcastIsNotCalled) {
  LBroadcaster b;
  Recorder first;
  auto* second = new Recorder;
  Recorder third;
  first.onMessage = [&](MessageT) { delete second; };
  b.AddListener(&first);
  b.AddListener(second);
  b.AddListener(&third);
  b.BroadcastMessage(7);
  EXPECT_EQ(third.heard.size(), 1u);
  EXPECT_FALSE(b.HasListener(second));
}

TEST(LBroadcaster, LinksAreCutWhenEitherSideDies) {
  Recorder r;
  {
    LBroadcaster b;
    b.AddListener(&r);
    EXPECT_TRUE(r.HasBroadcaster(&b));
  }
  LBroadcaster b2;
  {
    Recorder temp;
    b2.AddListener(&temp);
  }
  b2.BroadcastMessage(1);  // must not reach the dead listener
  SUCCEED();
}

TEST(LListener, StopListeningNests) {
  LBroadcaster b;
  Recorder r;
  b.AddListener(&r);
  r.StopListening();
  r.StopListening();
  r.StartListening();
  b.BroadcastMessage(1);
  EXPECT_FALSE(r.IsListening());
  r.StartListening();
  r.StartListening();  // an extra start does not build credit
  b.BroadcastMessage(2);
  EXPECT_EQ(r.heard, (std::vector<MessageT>{2}));
  r.StopListening();
  EXPECT_FALSE(r.IsListening());
}
