#include "framework/LPeriodical.h"

#include <algorithm>

namespace {

bool Contains(const std::vector<LPeriodical*>& queue, const LPeriodical* p) {
  return std::find(queue.begin(), queue.end(), p) != queue.end();
}

void Add(std::vector<LPeriodical*>& queue, LPeriodical* p) {
  if (!Contains(queue, p)) queue.push_back(p);
}

}  // namespace

std::vector<LPeriodical*>& LPeriodical::Repeaters() {
  static std::vector<LPeriodical*> queue;
  return queue;
}

std::vector<LPeriodical*>& LPeriodical::Idlers() {
  static std::vector<LPeriodical*> queue;
  return queue;
}

LPeriodical::~LPeriodical() {
  std::erase(Repeaters(), this);
  std::erase(Idlers(), this);
}

void LPeriodical::StartRepeating() { Add(Repeaters(), this); }
void LPeriodical::StopRepeating() { std::erase(Repeaters(), this); }
bool LPeriodical::IsRepeating() const { return Contains(Repeaters(), this); }
void LPeriodical::StartIdling() { Add(Idlers(), this); }
void LPeriodical::StopIdling() { std::erase(Idlers(), this); }

void LPeriodical::DevoteTime(std::vector<LPeriodical*>& queue, const EventRecord& event) {
  // Those that stop or die during the pass leave the queue; a snapshot plus a membership
  // check before each call never touches one of them.
  const std::vector<LPeriodical*> snapshot = queue;
  for (LPeriodical* p : snapshot)
    if (Contains(queue, p)) p->SpendTime(event);
}

void LPeriodical::DevoteTimeToRepeaters(const EventRecord& event) { DevoteTime(Repeaters(), event); }
void LPeriodical::DevoteTimeToIdlers(const EventRecord& event) { DevoteTime(Idlers(), event); }
