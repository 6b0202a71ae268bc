// Tests of the timer component, its dispatcher and the frame clock's measurement, all on
// a fake counter that the test (and the handlers, for their own run time) moves forward.
#include "session/KTimer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
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
  for (int64_t f : {int64_t(1000), int64_t(1000000000)}) {
    OneTimer k(100, f);
    k.t.OnTimer = [&](TKTimer& self) { EXPECT_EQ(self.Lag(), 1u); };
    const int64_t ms = f / 1000;
    const std::pair<int64_t, uint32_t> passes[] = {{79, 0}, {80, 1}, {179, 1}, {180, 2}};
    for (auto [at, events] : passes) {
      k.c.t = at * ms;
      k.d.IdlePass();
      EXPECT_EQ(k.t.Events(), events) << at;
    }
    EXPECT_EQ(k.t.Reference(), 200 * ms);  // early firing keeps the beat
  }
}

TEST(KTimer, SlowHandlerGivesLagAndSkipped) {
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
  EXPECT_EQ(k.t.Skipped(), 1u);
}

TEST(KTimer, LagKeepsRealTimeUnderASteadyLoad) {
  OneTimer k(28);
  uint64_t periods = 0;
  k.t.OnTimer = [&](TKTimer& self) {
    periods += self.Lag();
    k.c.t += 90;  // every handler takes more than three ticks
  };
  RunUntil(k.d, k.c, 5000);
  EXPECT_EQ(int64_t(periods) * 28, k.t.Reference());
  EXPECT_GE(k.t.Reference(), k.c.t - 28 - 90);
  EXPECT_LE(k.t.Reference(), k.c.t + 20);
  // The statistics second rolls over: skipped moves to the previous second's figure.
  EXPECT_GT(k.t.SkippedLastSecond(), 20u);
  EXPECT_GT(k.t.LoadLastSecond(), 900);
}

TEST(KTimer, RatePerThousandSecondsOverOneSecondWindows) {
  OneTimer k(20);
  EXPECT_EQ(k.t.Rate(), 0);
  RunUntil(k.d, k.c, 1002);
  // 51 events from t = 1 to t = 1001 over a window of 1001 ticks.
  EXPECT_EQ(k.t.Rate(), 50949);
  RunUntil(k.d, k.c, 2500);
  EXPECT_EQ(k.t.Rate(), 50000);
  EXPECT_EQ(k.t.Events(), 125u);
}

TEST(KTimer, LoadIsTheHandlerShareOfTheTime) {
  OneTimer k(20);
  int64_t gap = -1;
  k.t.OnTimer = [&](TKTimer& self) {
    gap = self.IdleGap();
    k.c.t += 10;
  };
  RunUntil(k.d, k.c, 3000);
  EXPECT_EQ(std::make_tuple(int64_t(k.t.HandlerTime()), gap, int64_t(k.t.Load()),
                            int64_t(k.t.LoadLastSecond())),
            std::make_tuple(int64_t(10), int64_t(10), int64_t(500), int64_t(500)));
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
  int activations = 0, deactivations = 0;
  suspended.OnActivate = [&](TKTimer&) { ++activations; };
  suspended.OnDeactivate = [&](TKTimer&) { ++deactivations; };
  uint32_t maxLag = 0;
  suspended.OnTimer = [&](TKTimer& self) { maxLag = std::max(maxLag, self.Lag()); };
  RunUntil(d, c, 1000);
  const uint32_t e0 = suspended.Events();
  suspended.SetEnabled(false);
  RunUntil(d, c, 6000);
  EXPECT_EQ(suspended.Events(), e0);
  suspended.SetEnabled(true);
  EXPECT_EQ(suspended.Reference(), 6000);
  RunUntil(d, c, 7000);
  EXPECT_NEAR(double(suspended.Events() - e0), 1000.0 / 28, 1.5);
  const uint32_t e1 = suspended.Events(), e2 = running.Events();

  d.SetAppActive(false);
  EXPECT_TRUE(suspended.Suspended() && !running.Suspended());
  RunUntil(d, c, 17000);
  EXPECT_EQ(suspended.Events(), e1);
  EXPECT_GT(running.Events(), e2 + 300);

  d.SetAppActive(true);
  EXPECT_FALSE(suspended.Suspended());
  EXPECT_EQ(suspended.Reference(), 17000);
  RunUntil(d, c, 18000);
  EXPECT_EQ(maxLag, 1u);
  EXPECT_NEAR(double(suspended.Events() - e1), 1000.0 / 28, 1.5);
  EXPECT_EQ(std::make_pair(activations, deactivations), std::make_pair(1, 1));

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
  const Case cases[] = {{0, 40}, {97, 11}, {116, 2}, {117, 0}, {197, 0}, {300, 0}};
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
  a.SetInterval(10);
  b.SetInterval(10);
  int nestedEvents = -1;
  TIdleResult nested{true, 99};
  a.OnTimer = [&](TKTimer&) {
    // A modal dialog: the event loop runs passes while the counter moves on.
    const uint32_t before = b.Events();
    c.t += 500;
    nested = d.IdlePass();
    nestedEvents = int(b.Events() - before);
    EXPECT_TRUE(d.InPass());
  };
  c.t = 10;
  d.IdlePass();
  EXPECT_EQ(std::make_tuple(nested.done, nested.sleepMs, nestedEvents),
            std::make_tuple(false, 0, 0));
  EXPECT_EQ(b.Events(), 1u);  // served after a's handler returned, in the same pass
  EXPECT_FALSE(d.InPass());
}

TEST(KTimer, TimersAreServedInCreationOrder) {
  FakeClock c;
  TKIdleTimer d(c);
  std::vector<int> order;
  TKTimer first(d), second(d), third(d);
  for (TKTimer* t : {&third, &first, &second}) t->SetInterval(10);
  first.OnTimer = [&](TKTimer&) { order.push_back(1); };
  second.OnTimer = [&](TKTimer&) { order.push_back(2); };
  third.OnTimer = [&](TKTimer&) { order.push_back(3); };
  c.t = 10;
  d.IdlePass();
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
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
  EXPECT_TRUE(!b && !e);
  EXPECT_EQ(d.TimerCount(), 1u);
  EXPECT_EQ(a->Events(), 1u);
}

TEST(KTimer, SharedDispatcherLivesWithItsTimers) {
  EXPECT_EQ(TKIdleTimer::Shared(), nullptr);
  {
    TKTimer a;
    ASSERT_NE(TKIdleTimer::Shared(), nullptr);
    EXPECT_EQ(a.Dispatcher(), TKIdleTimer::Shared());
    EXPECT_EQ(TKIdleTimer::Shared()->Frequency(), 1000000000);
    {
      TKTimer b;
      EXPECT_EQ(TKIdleTimer::Shared()->TimerCount(), 2u);
    }
    EXPECT_NE(TKIdleTimer::Shared(), nullptr);
  }
  EXPECT_EQ(TKIdleTimer::Shared(), nullptr);
  // A timer outliving its own dispatcher is detached, never served again.
  auto clock = std::make_unique<FakeClock>();
  auto d = std::make_unique<TKIdleTimer>(*clock);
  TKTimer orphan(*d);
  d.reset();
  EXPECT_EQ(orphan.Dispatcher(), nullptr);
}

TEST(KTimer, CatchUpStepsAreBoundedToOneSecond) {
  struct Case {
    uint32_t lag, tick, steps;
  };
  const Case cases[] = {
      {1, 28, 1},   {35, 28, 35}, {36, 28, 35}, {100000, 28, 35}, {4294967295u, 20, 50},
      {5, 1000, 1}, {5, 5000, 1}, {3, 0, 3},    {2000, 1, 1000},  {0, 28, 0},
  };
  for (const Case& k : cases)
    EXPECT_EQ(CatchUpSteps(k.lag, k.tick), k.steps) << k.lag << " " << k.tick;
}

// The main window's two clocks at the default settings: 50 frames and about 35.7 steps
// per second, with the draw handler keeping the measurement.
struct MainClocks {
  FakeClock c;
  TKIdleTimer d{c};
  TKTimer draw{d};
  TKTimer move{d};
  TMeasurement m{draw, move};
  std::vector<uint32_t> drawRates, stepRates;
  std::function<void()> duringDraw;

  MainClocks() {
    draw.SetInterval(DrawTimerInterval(20));
    move.SetInterval(28);
    draw.OnTimer = [this](TKTimer&) {
      if (m.RefreshDue()) {
        m.Refresh();
        drawRates.push_back(m.drawRate);
        stepRates.push_back(m.stepRate);
      }
      if (duringDraw) duringDraw();
      m.CountFrame();
    };
    move.OnTimer = [this](TKTimer& t) {
      for (uint32_t i = CatchUpSteps(t.Lag(), 28); i > 0; --i) m.CountStep(28);
    };
  }
};

TEST(TMeasurement, RatesAreTheTimerRatesOverTen) {
  MainClocks k;
  RunUntil(k.d, k.c, 4000);
  ASSERT_GE(k.drawRates.size(), 2u);
  EXPECT_EQ(k.drawRates.back(), 5000u);
  EXPECT_NEAR(double(k.stepRates.back()), 100000.0 / 28, 15);
  EXPECT_EQ(k.m.totalSteppedMs, int64_t(k.move.Events()) * 28);
  EXPECT_LE(k.m.frames, 51u);  // counters restart at every refresh
}

TEST(TMeasurement, DialogFromAHandlerKeepsTheMeasuredRate) {
  MainClocks k;
  bool opened = false;
  k.duringDraw = [&] {
    if (opened || k.c.t < 3500) return;
    opened = true;
    const int64_t startBefore = k.m.start;
    k.m.BeginPause();
    EXPECT_TRUE(k.m.Paused());
    k.c.t += 10000;  // a modal dialog held open for 10 s
    k.d.IdlePass();  // its event loop: ignored
    k.m.EndPause();
    EXPECT_FALSE(k.m.Paused());
    EXPECT_EQ(k.m.start, startBefore + 10000);
  };
  RunUntil(k.d, k.c, 18000);
  ASSERT_TRUE(opened);
  // 8 s of running time: a refresh every second. Windows may hold an event or two more
  // (the first one, and the catch-up right after the dialog), never the dialog's 10 s.
  ASSERT_GE(k.drawRates.size(), 6u);
  for (uint32_t r : k.drawRates) EXPECT_NEAR(double(r), 5000, 250);
  // The move clock's lag after the dialog was bounded to a second's worth of steps.
  EXPECT_LE(k.m.totalSteppedMs, (18000 - 10000) / 28 * 28 + 35 * 28 + 28);
}

TEST(TMeasurement, DialogFromAMenuCommandKeepsTheMeasuredRate) {
  MainClocks k;
  RunUntil(k.d, k.c, 3500);
  k.m.BeginPause();
  k.m.BeginPause();          // a dialog opened from a dialog counts once
  RunUntil(k.d, k.c, 8000);  // the clocks keep running under the dialog
  k.m.EndPause();
  EXPECT_TRUE(k.m.Paused());
  RunUntil(k.d, k.c, 13500);
  const size_t refreshesBefore = k.drawRates.size();
  k.m.EndPause();
  EXPECT_LE(k.m.start, k.c.t);  // refreshes went on under the dialog
  k.m.EndPause();               // unmatched: ignored
  RunUntil(k.d, k.c, 17000);
  EXPECT_GE(k.drawRates.size(), refreshesBefore + 3);
  for (size_t i = 1; i < k.drawRates.size(); ++i) EXPECT_EQ(k.drawRates[i], 5000u) << i;
}

}  // namespace
}  // namespace kelvra
