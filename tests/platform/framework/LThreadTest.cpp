#include "framework/LThread.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/LAttachable.h"
#include "framework/LSimpleThread.h"
#include "framework/LYieldAttachment.h"
#include "framework/UMainThread.h"
#include "windows/Events.h"

namespace {

struct Trace {
  std::vector<std::string> steps;
};

struct Guard {
  Trace* trace;
  ~Guard() { trace->steps.push_back("unwound"); }
};

void Stepper(LThread&, void* arg) {
  auto* trace = static_cast<Trace*>(arg);
  Guard guard{trace};
  std::vector<int> onStack(1000, 1);  // real use of the thread's own stack
  for (int i = 0; i < 3; ++i) {
    trace->steps.push_back("step" + std::to_string(i + onStack[i] - 1));
    LThread::Yield();
  }
  trace->steps.push_back("done");
}

}  // namespace

TEST(LThread, RunsOnlyAtYieldAndIsDeletedWhenItEnds) {
  Trace trace;
  auto* t = new LSimpleThread(Stepper, &trace);
  EXPECT_TRUE(t->IsSuspended());
  LThread::Yield();  // not resumed yet: nothing runs
  EXPECT_TRUE(trace.steps.empty());
  t->Resume();
  EXPECT_TRUE(trace.steps.empty());  // still nothing until the main loop yields
  LThread::Yield();
  EXPECT_EQ(trace.steps, (std::vector<std::string>{"step0"}));
  LThread::Yield();
  LThread::Yield();
  EXPECT_EQ(trace.steps.back(), "step2");
  EXPECT_EQ(LThread::CountThreads(), 1u);
  LThread::Yield();
  EXPECT_EQ(trace.steps, (std::vector<std::string>{"step0", "step1", "step2", "done", "unwound"}));
  EXPECT_EQ(LThread::CountThreads(), 0u);
}

TEST(LThread, TwoThreadsTakeTurns) {
  Trace a, b;
  (new LSimpleThread(Stepper, &a))->Resume();
  (new LSimpleThread(Stepper, &b))->Resume();
  LThread::Yield();
  EXPECT_EQ(a.steps.size(), 1u);
  EXPECT_EQ(b.steps.size(), 1u);
  for (int i = 0; i < 3; ++i) LThread::Yield();
  EXPECT_EQ(LThread::CountThreads(), 0u);
  EXPECT_EQ(a.steps.back(), "unwound");
  EXPECT_EQ(b.steps.back(), "unwound");
}

TEST(LThread, CancellingAWaitingThreadUnwindsItsStack) {
  Trace trace;
  auto* t = new LSimpleThread(Stepper, &trace);
  t->Resume();
  LThread::Yield();
  t->Cancel();  // deleted during the call
  EXPECT_EQ(trace.steps, (std::vector<std::string>{"step0", "unwound"}));
  EXPECT_EQ(LThread::CountThreads(), 0u);
}

TEST(LThread, CancellingAThreadThatNeverRanDeletesIt) {
  Trace trace;
  (new LSimpleThread(Stepper, &trace))->Cancel();
  auto* resumed = new LSimpleThread(Stepper, &trace);
  resumed->Resume();
  resumed->Cancel();
  EXPECT_EQ(LThread::CountThreads(), 0u);
  EXPECT_TRUE(trace.steps.empty());
}

TEST(LThread, AThreadMayCancelAnother) {
  Trace victimTrace;
  auto* victim = new LSimpleThread(Stepper, &victimTrace);
  victim->Resume();
  LThread::Yield();
  struct Arg {
    LThread* victim;
  } arg{victim};
  (new LSimpleThread([](LThread&, void* p) { static_cast<Arg*>(p)->victim->Cancel(); }, &arg))->Resume();
  LThread::Yield();  // the victim unwinds at its turn in this pass
  LThread::Yield();
  EXPECT_EQ(victimTrace.steps.back(), "unwound");
  EXPECT_EQ(LThread::CountThreads(), 0u);
}

TEST(LThread, EscapingExceptionsAreSwallowed) {
  (new LSimpleThread([](LThread&, void*) { throw std::runtime_error("lost scanner"); }, nullptr))->Resume();
  LThread::Yield();
  EXPECT_EQ(LThread::CountThreads(), 0u);
}

TEST(LThread, TheYieldAttachmentGivesTurnsOnEveryEvent) {
  Trace trace;
  LAttachable application;
  application.AddAttachment(new LYieldAttachment(-1));
  (new LSimpleThread(Stepper, &trace))->Resume();
  application.ExecuteAttachments(msg_Event, nullptr);
  application.ExecuteAttachments(msg_Click, nullptr);  // not an event pass
  EXPECT_EQ(trace.steps.size(), 1u);
  application.ExecuteAttachments(msg_Event, nullptr);
  EXPECT_EQ(trace.steps.size(), 2u);
  {
    UMainThread mainThread;
  }  // the end of the program cancels what is left
  EXPECT_EQ(trace.steps.back(), "unwound");
  EXPECT_EQ(LThread::CountThreads(), 0u);
}

TEST(LThread, SuspendedThreadsWaitForResume) {
  Trace trace;
  struct Arg {
    Trace* trace;
  } arg{&trace};
  auto* t = new LSimpleThread(
      [](LThread& self, void* p) {
        static_cast<Arg*>(p)->trace->steps.push_back("a");
        self.Suspend();
        static_cast<Arg*>(p)->trace->steps.push_back("b");
      },
      &arg);
  t->Resume();
  LThread::Yield();
  LThread::Yield();
  EXPECT_EQ(trace.steps, (std::vector<std::string>{"a"}));
  t->Resume();
  LThread::Yield();
  EXPECT_EQ(trace.steps, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(LThread::CountThreads(), 0u);
}

namespace {

struct Turn {
  std::vector<int>* order;
  int id;
};

void TakeTurn(LThread&, void* arg) {
  auto* turn = static_cast<Turn*>(arg);
  turn->order->push_back(turn->id);
}

}  // namespace

TEST(LThread, WaitingInputIsServedBetweenTwoTurns) {
  std::vector<int> order;
  Turn turns[] = {{&order, 1}, {&order, 2}, {&order, 3}, {&order, 4}};
  for (Turn& t : turns) (new LSimpleThread(TakeTurn, &t))->Resume();
  PostEvent(keyDown, 'a');
  LThread::Yield();  // one turn, then back to the event loop
  EXPECT_EQ(order, (std::vector<int>{1}));
  LThread::Yield();  // the input is still there: the next thread, not the first again
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
  FlushEvents(everyEvent, 0);
  LThread::Yield();  // nothing waits: every remaining thread in one pass
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(LThread::CountThreads(), 0u);
}
