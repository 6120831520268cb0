#include "framework/LCommander.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/LAction.h"
#include "windows/Events.h"

namespace {

std::vector<std::string> gLog;

struct Node : LCommander {
  Node(const char* name, LCommander* super) : LCommander(super), name(name) {}
  std::string name;
  CommandT handles = 0;
  bool keys = false;
  bool quitOK = true;

  bool ObeyCommand(CommandT command, void* param) override {
    if (command == handles) {
      gLog.push_back(name + " obeys " + std::to_string(command));
      return true;
    }
    return LCommander::ObeyCommand(command, param);
  }
  bool HandleKeyPress(const EventRecord& e) override {
    if (keys) {
      gLog.push_back(name + " key");
      return true;
    }
    return LCommander::HandleKeyPress(e);
  }

 protected:
  bool AttemptQuitSelf(SInt32) override {
    gLog.push_back(name + " quit?");
    return quitOK;
  }
  void BeTarget() override { gLog.push_back(name + " be"); }
  void DontBeTarget() override { gLog.push_back(name + " dont"); }
  void SubTargetChanged() override { gLog.push_back(name + " sub"); }
};

struct CountedAction : LAction {
  static int alive;
  static int finalized;
  CountedAction() { ++alive; }
  ~CountedAction() override { --alive; }
  void Finalize() override { ++finalized; }
};
int CountedAction::alive = 0;
int CountedAction::finalized = 0;

class LCommanderTest : public ::testing::Test {
 protected:
  void SetUp() override { gLog.clear(); }
  void TearDown() override { LCommander::SwitchTarget(nullptr); }
};

}  // namespace

TEST_F(LCommanderTest, CommandsAndKeysPassUpTheChain) {
  Node app("app", nullptr);
  auto* window = new Node("window", &app);
  auto* field = new Node("field", window);
  app.handles = 10;
  window->keys = true;
  EXPECT_TRUE(field->ProcessCommand(10));
  EXPECT_FALSE(field->ProcessCommand(99));
  EventRecord key{keyDown, 'a', 0, {0, 0}, 0};
  EXPECT_TRUE(field->ProcessKeyPress(key));
  EXPECT_EQ(gLog, (std::vector<std::string>{"app obeys 10", "window key"}));
  bool enabled = true, usesMark = false;
  UInt16 mark = 0;
  Str255 name;
  field->FindCommandStatus(2, enabled, usesMark, mark, name);
  EXPECT_FALSE(enabled);  // nobody enabled it
}

TEST_F(LCommanderTest, SwitchTargetTellsBothChains) {
  Node app("app", nullptr);
  auto* dialog = new Node("dialog", &app);
  auto* a = new Node("a", dialog);
  auto* b = new Node("b", dialog);
  LCommander::SwitchTarget(a);
  EXPECT_TRUE(a->IsTarget());
  EXPECT_TRUE(dialog->IsOnDuty());
  gLog.clear();
  LCommander::SwitchTarget(b);
  EXPECT_EQ(gLog, (std::vector<std::string>{"a dont", "b be", "dialog sub", "app sub"}));
  EXPECT_EQ(LCommander::GetTarget(), b);
  // Focusing the dialog hands the focus down to the field that last had it.
  LCommander::SwitchTarget(&app);
  LCommander::SwitchTarget(dialog);
  EXPECT_EQ(LCommander::GetTarget(), b);
}

TEST_F(LCommanderTest, DeletingTheTargetMovesTheFocusUp) {
  Node app("app", nullptr);
  auto* window = new Node("window", &app);
  auto* field = new Node("field", window);
  LCommander::SwitchTarget(field);
  delete field;
  EXPECT_EQ(LCommander::GetTarget(), window);
  delete window;  // also deletes its sub-commanders
  EXPECT_EQ(LCommander::GetTarget(), &app);
  EXPECT_TRUE(app.GetSubCommanders().empty());
}

TEST_F(LCommanderTest, QuitAsksSubCommandersFirstAndStopsAtARefusal) {
  Node app("app", nullptr);
  auto* w1 = new Node("w1", &app);
  new Node("w2", &app);
  w1->quitOK = false;
  EXPECT_FALSE(app.AttemptQuit(0));
  EXPECT_EQ(gLog, (std::vector<std::string>{"w1 quit?"}));
  w1->quitOK = true;
  gLog.clear();
  EXPECT_TRUE(app.AttemptQuit(0));
  EXPECT_EQ(gLog, (std::vector<std::string>{"w1 quit?", "w2 quit?", "app quit?"}));
}

TEST_F(LCommanderTest, PostedActionsAreFinalizedAtTheTop) {
  Node app("app", nullptr);
  Node* field = new Node("field", &app);
  field->PostAction(new CountedAction);
  field->PostAction(nullptr);
  EXPECT_EQ(CountedAction::alive, 0);
  EXPECT_EQ(CountedAction::finalized, 1);
  LCommander::SetUpdateCommandStatus(true);
  EXPECT_TRUE(LCommander::GetUpdateCommandStatus());
  LCommander::SetUpdateCommandStatus(false);
}
