// The timer component and its idle-time dispatcher, and the frame clock's measurement
// bookkeeping. All arithmetic is in counter ticks; nothing here sleeps or blocks.
#include "session/KTimer.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>

#include "platform/Services.h"

namespace kelvra {

namespace {

class PlatformClock final : public TClock {
 public:
  int64_t Now() override { return Platform().NowNs(); }
  int64_t Frequency() override { return 1000000000; }
};

std::unique_ptr<TKIdleTimer>& SharedSlot() {
  static std::unique_ptr<TKIdleTimer> shared;
  return shared;
}

// round(a * b / c), halves away from zero, without overflow in the product; c > 0.
int64_t RoundMulDiv(int64_t a, int64_t b, int64_t c) {
  __int128 p = __int128(a) * b;
  __int128 q = (p < 0 ? p - c / 2 : p + c / 2) / c;
  if (q > std::numeric_limits<int64_t>::max()) return std::numeric_limits<int64_t>::max();
  if (q < std::numeric_limits<int64_t>::min()) return std::numeric_limits<int64_t>::min();
  return int64_t(q);
}

uint32_t SaturatingAdd(uint32_t a, uint64_t b) {
  uint64_t s = uint64_t(a) + b;
  return s > UINT32_MAX ? UINT32_MAX : uint32_t(s);
}

}  // namespace

TClock& DefaultClock() {
  static PlatformClock clock;
  return clock;
}

// ---------------------------------------------------------------------------------------
// TKTimer

TKTimer::TKTimer() {
  auto& shared = SharedSlot();
  if (!shared) shared = std::make_unique<TKIdleTimer>();
  sharedDispatcher_ = true;
  shared->Register(this);
}

TKTimer::TKTimer(TKIdleTimer& dispatcher) {
  dispatcher.Register(this);
}

TKTimer::~TKTimer() {
  TKIdleTimer* d = dispatcher_;
  if (!d) return;
  d->Unregister(this);
  auto& shared = SharedSlot();
  if (sharedDispatcher_ && d == shared.get() && d->iterating_ == 0 && d->timers_.empty())
    shared.reset();
}

void TKTimer::UpdatePeriod() {
  if (!dispatcher_) return;
  const int64_t f = dispatcher_->frequency_;
  period_ = std::max<int64_t>(1, RoundMulDiv(interval_, f, 1000));
}

void TKTimer::Restart(int64_t now) {
  reference_ = now;
  lastEnd_ = now;
}

void TKTimer::SetActiveOnly(bool value) {
  if (value == activeOnly_) return;
  activeOnly_ = value;
  if (!dispatcher_ || !enabled_) return;
  if (value && !dispatcher_->appActive_) {
    suspended_ = true;
  } else if (!value && suspended_) {
    // Running again while the application is inactive: no backlog for the suspension.
    suspended_ = false;
    const int64_t now = dispatcher_->clock_.Now();
    Restart(now);
    rateStart_ = now;
    rateCount_ = 0;
  }
}

void TKTimer::SetEnabled(bool value) {
  // Only a change restarts the schedule: setting true again keeps a running timer's beat.
  if (value == enabled_) return;
  enabled_ = value;
  suspended_ = false;
  if (!value || !dispatcher_) return;
  Restart(dispatcher_->clock_.Now());
  suspended_ = activeOnly_ && !dispatcher_->appActive_;
}

void TKTimer::SetInterval(int32_t value) {
  interval_ = std::max<int32_t>(1, value);
  UpdatePeriod();
}

void TKTimer::ExcludeFromRate(int64_t ticks) {
  if (ticks > 0) rateStart_ += ticks;
}

// ---------------------------------------------------------------------------------------
// TKIdleTimer

TKIdleTimer::TKIdleTimer(TClock& clock) : clock_(clock) {
  // A counter without a sensible frequency is treated as a millisecond tick count.
  frequency_ = clock.Frequency();
  if (frequency_ < 1) frequency_ = 1000;
}

TKIdleTimer::~TKIdleTimer() {
  for (TKTimer* t : timers_)
    if (t) t->dispatcher_ = nullptr;
}

TKIdleTimer* TKIdleTimer::Shared() {
  return SharedSlot().get();
}

size_t TKIdleTimer::TimerCount() const {
  return size_t(std::count_if(timers_.begin(), timers_.end(), [](TKTimer* t) { return t; }));
}

void TKIdleTimer::Register(TKTimer* timer) {
  timer->dispatcher_ = this;
  timers_.push_back(timer);
  timer->UpdatePeriod();
  const int64_t now = clock_.Now();
  timer->Restart(now);
  timer->rateStart_ = now;
  timer->suspended_ = timer->enabled_ && timer->activeOnly_ && !appActive_;
}

void TKIdleTimer::Unregister(TKTimer* timer) {
  auto it = std::find(timers_.begin(), timers_.end(), timer);
  if (it == timers_.end()) return;
  // While the list is walked, the slot is only cleared so that the walk stays in step.
  if (iterating_ > 0)
    *it = nullptr;
  else
    timers_.erase(it);
  timer->dispatcher_ = nullptr;
}

void TKIdleTimer::EndIteration() {
  if (--iterating_ > 0) return;
  timers_.erase(std::remove(timers_.begin(), timers_.end(), nullptr), timers_.end());
}

bool TKIdleTimer::ReleaseIfUnused() {
  auto& shared = SharedSlot();
  if (this != shared.get() || iterating_ > 0 || !timers_.empty()) return false;
  shared.reset();  // destroys this
  return true;
}

TIdleResult TKIdleTimer::IdlePass() {
  // A handler that runs a nested event loop (a modal dialog) must not fire timers again
  // underneath itself: the nested pass does nothing and the loop keeps polling.
  if (inPass_) return {false, 0};
  inPass_ = true;
  ++iterating_;

  const int64_t f = frequency_;
  const int64_t early = RoundMulDiv(f, 40, 2000);  // fire up to 20 ms before the due time
  bool checked = false;
  int64_t minRemaining = std::numeric_limits<int64_t>::max();

  for (size_t i = 0; i < timers_.size(); ++i) {
    TKTimer* t = timers_[i];
    if (!t || !t->enabled_ || (t->suspended_ && t->activeOnly_)) continue;
    checked = true;
    const int64_t now = clock_.Now();
    t->idleGap_ = now - t->lastEnd_;
    t->elapsed_ = now - t->reference_;
    int64_t after = now;

    if (t->elapsed_ > 0 && t->period_ <= t->elapsed_ + early) {
      ++t->rateCount_;
      const int64_t window = now - t->rateStart_;
      if (window >= f) {
        const int64_t rate =
            window == 0 ? INT32_MAX : RoundMulDiv(int64_t(t->rateCount_), f * 1000, window);
        t->rate_ = int32_t(std::clamp<int64_t>(rate, 0, INT32_MAX));
        t->rateCount_ = 0;
        t->rateStart_ = now;
      }
      const int64_t periods = std::max<int64_t>(1, t->elapsed_ / t->period_);
      t->lag_ = uint32_t(std::min<int64_t>(periods, UINT32_MAX));
      t->skipped_ = SaturatingAdd(t->skipped_, uint64_t(t->lag_ - 1));
      t->reference_ += periods * t->period_;
      t->eventStart_ = now;

      // The handler runs from a copy: it may change or destroy its own timer.
      if (t->OnTimer) {
        TKTimer::TEvent handler = t->OnTimer;
        handler(*t);
      }
      const int64_t end = clock_.Now();
      if (timers_[i] != t) continue;  // destroyed by its handler

      t->handlerTime_ = end - now;
      t->lastEnd_ = end;
      const int64_t sum = t->handlerTime_ + t->idleGap_;
      if (sum > 0) t->load_ = RoundMulDiv(t->handlerTime_, 1000, sum);
      t->busySum_ += t->handlerTime_;
      t->idleSum_ += t->idleGap_;
      const int64_t total = t->busySum_ + t->idleSum_;
      if (total >= f) {
        t->loadLastSecond_ = RoundMulDiv(t->busySum_, 1000, total);
        t->skippedLastSecond_ = t->skipped_;
        t->skipped_ = 0;
        t->busySum_ = 0;
        t->idleSum_ = 0;
      }
      ++t->events_;
      after = end;
      if (!t->enabled_ || (t->suspended_ && t->activeOnly_)) continue;
    }
    // Measured from the end of the handler just run, so its time is not waited twice.
    minRemaining = std::min(minRemaining, t->reference_ + t->period_ - after);
  }

  TIdleResult result{!checked, 0};
  if (checked && minRemaining != std::numeric_limits<int64_t>::max()) {
    const int64_t halfMs = int64_t(__int128(minRemaining) * 500 / f);
    if (halfMs >= 2) result.sleepMs = int(std::min<int64_t>(halfMs, 40));
  }

  inPass_ = false;
  EndIteration();
  ReleaseIfUnused();
  return result;
}

void TKIdleTimer::SetAppActive(bool active) {
  if (active == appActive_) return;
  appActive_ = active;
  ++iterating_;
  const int64_t now = clock_.Now();
  for (size_t i = 0; i < timers_.size(); ++i) {
    TKTimer* t = timers_[i];
    if (!t) continue;
    if (!active) {
      if (t->enabled_ && t->activeOnly_) t->suspended_ = true;
    } else if (t->suspended_) {
      // No backlog: the timer starts over as if just enabled.
      t->suspended_ = false;
      t->Restart(now);
      t->rateStart_ = now;
      t->rateCount_ = 0;
    }
    TKTimer::TEvent handler = active ? t->OnActivate : t->OnDeactivate;
    if (handler) handler(*t);
  }
  EndIteration();
  ReleaseIfUnused();
}

// ---------------------------------------------------------------------------------------
// Frame clock helpers

uint32_t CatchUpSteps(uint32_t lag, uint32_t tickMs) {
  const uint32_t cap = std::max<uint32_t>(1, 1000 / std::max<uint32_t>(1, tickMs));
  return std::min(lag, cap);
}

int32_t DrawTimerInterval(uint32_t drawDelayMs) {
  return int32_t(std::clamp<uint32_t>(drawDelayMs, 1, INT32_MAX));
}

namespace {
TClock& ClockOf(const TKTimer& t) {
  return t.Dispatcher() ? t.Dispatcher()->Clock() : DefaultClock();
}
int64_t FrequencyOf(const TKTimer& t) {
  return t.Dispatcher() ? t.Dispatcher()->Frequency() : DefaultClock().Frequency();
}
}  // namespace

TMeasurement::TMeasurement(TKTimer& drawTimer, TKTimer& moveTimer)
    : draw_(drawTimer), move_(moveTimer) {
  start = ClockOf(draw_).Now();
}

void TMeasurement::Start() {
  start = ClockOf(draw_).Now();
  frames = 0;
  steps = 0;
}

void TMeasurement::BeginPause() {
  if (pauseDepth_++ > 0) return;
  pauseStart_ = ClockOf(draw_).Now();
  pauseBlocksClocks_ = draw_.Dispatcher() && draw_.Dispatcher()->InPass();
}

void TMeasurement::EndPause() {
  if (pauseDepth_ == 0 || --pauseDepth_ > 0) return;
  const int64_t now = ClockOf(draw_).Now();
  const int64_t length = now - pauseStart_;
  if (length <= 0) return;
  // Only the part of the pause inside the current measurement period is taken out: when
  // the clocks ran on under the dialog, a refresh may already have moved the start.
  start += now - std::max(start, pauseStart_);
  if (pauseBlocksClocks_) {
    draw_.ExcludeFromRate(length);
    move_.ExcludeFromRate(length);
  }
}

bool TMeasurement::RefreshDue() const {
  return draw_.EventStart() - start > FrequencyOf(draw_);
}

void TMeasurement::Refresh() {
  drawRate = uint32_t(std::max(0, draw_.Rate()) / 10);
  stepRate = uint32_t(std::max(0, move_.Rate()) / 10);
  frames = 0;
  steps = 0;
  start = draw_.EventStart();
}

}  // namespace kelvra
