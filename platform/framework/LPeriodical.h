// Objects that get time from the event loop: repeaters on every pass, idlers on null
// events only. A periodical may stop itself or be deleted (by itself or anyone) while it
// is spending time; the others still get their turn in that pass.
#pragma once

#include <vector>

#include "framework/FrameworkTypes.h"

struct EventRecord;

class LPeriodical {
 public:
  LPeriodical() = default;
  LPeriodical(const LPeriodical&) = delete;
  LPeriodical& operator=(const LPeriodical&) = delete;
  virtual ~LPeriodical();

  virtual void SpendTime(const EventRecord& event) = 0;

  void StartRepeating();
  void StopRepeating();
  bool IsRepeating() const;
  void StartIdling();
  void StopIdling();

  // Called by the event loop.
  static void DevoteTimeToRepeaters(const EventRecord& event);
  static void DevoteTimeToIdlers(const EventRecord& event);

 private:
  static void DevoteTime(std::vector<LPeriodical*>& queue, const EventRecord& event);
  static std::vector<LPeriodical*>& Repeaters();
  static std::vector<LPeriodical*>& Idlers();
};
