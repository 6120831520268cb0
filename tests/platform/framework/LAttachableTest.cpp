#include "framework/LAttachable.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/LAttachment.h"

namespace {

struct Probe : LAttachment {
  Probe(MessageT m, bool host, std::vector<MessageT>* log) : LAttachment(m, host), log(log) {}
  std::vector<MessageT>* log;
  bool deleteSelf = false;
  ~Probe() override { log->push_back(-99); }

 protected:
  void ExecuteSelf(MessageT message, void*) override {
    log->push_back(message);
    if (deleteSelf) delete this;
  }
};

}  // namespace

TEST(LAttachable, OffersMessagesAndHonoursExecuteHost) {
  std::vector<MessageT> log;
  LAttachable host;
  auto* any = new Probe(msg_AnyMessage, true, &log);
  auto* clicks = new Probe(msg_Click, true, &log);
  host.AddAttachment(any);
  host.AddAttachment(clicks);
  EXPECT_TRUE(host.ExecuteAttachments(msg_Event, nullptr));
  EXPECT_EQ(log, (std::vector<MessageT>{msg_Event}));
  clicks->SetExecuteHost(false);
  EXPECT_FALSE(host.ExecuteAttachments(msg_Click, nullptr));
  EXPECT_EQ(log, (std::vector<MessageT>{msg_Event, msg_Click, msg_Click}));
}

TEST(LAttachable, RemovedAttachmentsSurviveAndCanReturn) {
  std::vector<MessageT> log;
  auto* host = new LAttachable;
  Probe* p = new Probe(msg_AnyMessage, true, &log);
  host->AddAttachment(p);
  host->RemoveAttachment(p);
  EXPECT_EQ(p->GetOwnerHost(), nullptr);
  host->ExecuteAttachments(1, nullptr);
  EXPECT_TRUE(log.empty());
  auto* first = new Probe(msg_AnyMessage, true, &log);
  host->AddAttachment(first);
  host->AddAttachment(p, first);  // back in, in front of `first`
  host->ExecuteAttachments(2, nullptr);
  EXPECT_EQ(host->GetAttachmentsList()->GetCount(), 2);
  delete host;  // deletes both owned attachments
  EXPECT_EQ(log, (std::vector<MessageT>{2, 2, -99, -99}));
}

TEST(LAttachable, AnAttachmentMayDeleteItselfWhileRunning) {
  std::vector<MessageT> log;
  LAttachable host;
  auto* p = new Probe(msg_AnyMessage, true, &log);
  p->deleteSelf = true;
  host.AddAttachment(p);
  host.AddAttachment(new Probe(msg_AnyMessage, true, &log));
  host.ExecuteAttachments(5, nullptr);
  EXPECT_EQ(log, (std::vector<MessageT>{5, -99, 5}));
  EXPECT_EQ(host.GetAttachmentsList()->GetCount(), 1);
}

TEST(LAttachable, NotOwnedAttachmentsAreLeftAlive) {
  std::vector<MessageT> log;
  Probe p(msg_AnyMessage, true, &log);
  {
    LAttachable host;
    host.AddAttachment(&p, nullptr, false);
  }
  EXPECT_EQ(p.GetOwnerHost(), nullptr);
  EXPECT_TRUE(log.empty());
}
