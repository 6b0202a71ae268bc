// Tests of the timer component and its dispatcher, all on a fake counter that the test (and the
// handlers, for their own run time) moves forward.
#include "session/KTimer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>
#include <vector>

namespace kelvra {
namespace {

struct FakeClock : TClock {
  explicit FakeClock(int64_t frequency = 1000) : f(frequency) {}
  int64_t t = 0;
  int64_t f;  // millisecond ticks unless a test says otherwise
  int64_t Now() override { return t; }
  int64_t Frequency() override { return f; }
};

// A dispatcher serving one timer of the given interval.
struct OneTimer {
  explicit OneTimer(int32_t interval, int64_t frequency = 1000) : c(frequency) {
    t.SetInterval(interval);
  }
  FakeClock c;
  TKIdleTimer d{c};
  TKTimer t{d};
};

// One pass per tick until the counter reaches `end`; handlers may move it further.
void RunUntil(TKIdleTimer& d, FakeClock& c, int64_t end) {
  while (c.t < end) {
    d.IdlePass();
    ++c.t;
  }
}

// The draw timer's interval follows the same rule: a draw delay of 0 acts as 1 ms.
TEST(KTimer, PeriodFromInterval) {
  struct Case {
    int64_t frequency;
    int32_t interval;
    int64_t period;
  };
  const Case cases[] = {
      {1000000000, 28, 28000000},
      {500, 3, 2},   // 1.5 rounds away from zero
      {500, 1, 1},   // 0.5 rounds to 1
      {1000, 0, 1},  // intervals below 1 become 1
  };
  for (const Case& k : cases)
    EXPECT_EQ(OneTimer(k.interval, k.frequency).t.Period(), k.period) << k.frequency;
  for (int32_t delay : {0, 20, 1000}) EXPECT_EQ(DrawTimerInterval(delay), std::max(delay, 1));
}

TEST(KTimer, FiresUpTo20MsEarly) {
  OneTimer k(100, 1000000000);
  k.t.OnTimer = [&](TKTimer& self) { EXPECT_EQ(self.Lag(), 1u); };
  const std::pair<int64_t, uint32_t> passes[] = {{79, 0}, {80, 1}, {179, 1}, {180, 2}};
  for (auto [at, events] : passes) {
    k.c.t = at * 1000000;
    k.d.IdlePass();
    EXPECT_EQ(k.t.Events(), events) << at;
  }
  EXPECT_EQ(k.t.Reference(), 200 * 1000000);  // early firing keeps the beat
}

TEST(KTimer, SlowHandlerGivesLag) {
  OneTimer k(28);
  std::vector<uint32_t> lags;
  k.t.OnTimer = [&](TKTimer& self) {
    lags.push_back(self.Lag());
    if (lags.size() == 1) k.c.t += 100;  // longer than two ticks
  };
  RunUntil(k.d, k.c, 200);
  ASSERT_GE(lags.size(), 3u);
  // Fired at 8, the handler ended at 108: 80 ticks past reference 28.
  EXPECT_EQ(std::vector<uint32_t>(lags.begin(), lags.begin() + 3),
            (std::vector<uint32_t>{1, 2, 1}));
}

// A disabled timer, and an ActiveOnly one while the program is inactive, restart from the
// present without catching up.
TEST(KTimer, PauseAndDeactivationResumeWithoutBacklog) {
  FakeClock c;
  TKIdleTimer d(c);
  TKTimer suspended(d);  // ActiveOnly by default
  TKTimer running(d);
  running.SetActiveOnly(false);
  suspended.SetInterval(28);
  running.SetInterval(28);
  uint32_t maxLag = 0;
  suspended.OnTimer = [&](TKTimer& self) { maxLag = std::max(maxLag, self.Lag()); };
  RunUntil(d, c, 1000);
  const uint32_t e0 = suspended.Events();
  suspended.SetEnabled(false);
  RunUntil(d, c, 6000);
  EXPECT_EQ(suspended.Events(), e0);
  suspended.SetEnabled(true);
  RunUntil(d, c, 7000);
  EXPECT_NEAR(double(suspended.Events() - e0), 1000.0 / 28, 1.5);
  const uint32_t e1 = suspended.Events(), e2 = running.Events();

  d.SetAppActive(false);
  EXPECT_TRUE(suspended.Suspended() && !running.Suspended());
  RunUntil(d, c, 17000);
  EXPECT_EQ(suspended.Events(), e1);
  EXPECT_GT(running.Events(), e2 + 300);

  d.SetAppActive(true);
  RunUntil(d, c, 18000);
  EXPECT_EQ(maxLag, 1u);
  EXPECT_NEAR(double(suspended.Events() - e1), 1000.0 / 28, 1.5);

  // Enabling while inactive suspends at once.
  d.SetAppActive(false);
  suspended.SetEnabled(false);
  suspended.SetEnabled(true);
  EXPECT_TRUE(suspended.Suspended());
}

TEST(KTimer, DoneOnlyWhenNoTimerRuns) {
  FakeClock c;
  TKIdleTimer d(c);
  EXPECT_TRUE(d.IdlePass().done);
  TKTimer t(d);
  EXPECT_FALSE(d.IdlePass().done);
  t.SetEnabled(false);
  EXPECT_TRUE(d.IdlePass().done);
  t.SetEnabled(true);
  d.SetAppActive(false);
  EXPECT_TRUE(d.IdlePass().done);
}

TEST(KTimer, SleepIsHalfTheRemainingTimeAtMost40Ms) {
  struct Case {
    int64_t handlerTicks;  // run time of the handler fired at t = 80 (period 100)
    int sleepMs;
  };
  // After the event the next one is due at 200: remaining = 200 - end of the handler.
  const Case cases[] = {{0, 40}, {97, 11}, {116, 2}, {117, 0}, {300, 0}};
  for (const Case& c : cases) {
    OneTimer k(100);
    k.t.OnTimer = [&](TKTimer&) { k.c.t += c.handlerTicks; };
    k.c.t = 50;
    EXPECT_EQ(k.d.IdlePass().sleepMs, 25);  // not due yet: 50 ms remaining
    k.c.t = 80;
    const TIdleResult r = k.d.IdlePass();
    EXPECT_EQ(std::make_tuple(k.t.Events(), r.done, r.sleepMs),
              std::make_tuple(1u, false, c.sleepMs))
        << c.handlerTicks;
  }
}

TEST(KTimer, NestedPassesAreIgnored) {
  FakeClock c;
  TKIdleTimer d(c);
  TKTimer a(d), b(d);
  for (TKTimer* t : {&a, &b}) t->SetInterval(10);
  int nestedEvents = -1;
  TIdleResult nested{true, 99};
  a.OnTimer = [&](TKTimer&) {
    // A modal dialog: the event loop runs passes while the counter moves on.
    const uint32_t before = b.Events();
    c.t += 500;
    nested = d.IdlePass();
    nestedEvents = int(b.Events() - before);
  };
  c.t = 10;
  d.IdlePass();
  EXPECT_EQ(std::make_tuple(nested.done, nested.sleepMs, nestedEvents),
            std::make_tuple(false, 0, 0));
  EXPECT_EQ(b.Events(), 1u);  // served after a's handler returned, in the same pass
  EXPECT_FALSE(d.InPass());
}

TEST(KTimer, AHandlerMayDestroyItsOwnTimerOrAnother) {
  FakeClock c;
  TKIdleTimer d(c);
  auto a = std::make_unique<TKTimer>(d);
  auto b = std::make_unique<TKTimer>(d);
  auto e = std::make_unique<TKTimer>(d);
  for (auto* t : {a.get(), b.get(), e.get()}) t->SetInterval(10);
  a->OnTimer = [&](TKTimer&) { b.reset(); };
  e->OnTimer = [&](TKTimer&) { e.reset(); };
  c.t = 10;
  d.IdlePass();
  EXPECT_TRUE(!b && !e && d.TimerCount() == 1 && a->Events() == 1);
}

TEST(KTimer, CatchUpStepsAreBoundedToOneSecond) {
  struct Case {
    uint32_t lag, tick, steps;
  };
  const Case cases[] = {
      {1, 28, 1},   {35, 28, 35}, {36, 28, 35}, {4294967295u, 20, 50},
      {5, 1000, 1}, {5, 5000, 1}, {3, 0, 3},    {0, 28, 0},
  };
  for (const Case& k : cases)
    EXPECT_EQ(CatchUpSteps(k.lag, k.tick), k.steps) << k.lag << " " << k.tick;
}

}  // namespace
}  // namespace kelvra
