// The program's own timers: TKTimer events served from the idle processing by one shared
// dispatcher, TKIdleTimer, on a high-resolution counter; and the frame clock's rate keeping.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace kelvra {

// The counter the timers read: signed 64-bit ticks, Frequency() ticks to the second.
class TClock {
 public:
  virtual ~TClock() = default;
  virtual int64_t Now() = 0;
  virtual int64_t Frequency() = 0;
};

// Platform().NowNs() at 1000000000 ticks per second.
TClock& DefaultClock();

// The outcome of one idle pass, for the caller's event loop. Nothing in the core sleeps:
// the caller waits sleepMs (0: run the next pass as soon as the queue is empty again).
struct TIdleResult {
  bool done;    // no timer is running: wait for the next message
  int sleepMs;  // 0, or 2..40: half the time until the next timer is due
};

class TKIdleTimer;

class TKTimer {
 public:
  using TEvent = std::function<void(TKTimer&)>;

  // Served by the program's shared dispatcher, which is made with the first such timer
  // and freed with the last.
  TKTimer();
  // Served by the given dispatcher, which must outlive the timer or detach it.
  explicit TKTimer(TKIdleTimer& dispatcher);
  ~TKTimer();
  TKTimer(const TKTimer&) = delete;
  TKTimer& operator=(const TKTimer&) = delete;

  void SetActiveOnly(bool value);  // suspended while the application is inactive; default on
  bool Enabled() const { return enabled_; }
  // Turning on restarts the schedule at now (no events are made up for the time off), or
  // suspends the timer while the application is inactive and it is active-only.
  void SetEnabled(bool value);
  void SetInterval(int32_t value);  // ms between events; values below 1 become 1

  TEvent OnTimer;       // the handler; reads Lag() to know how many periods passed
  TEvent OnActivate;    // the application became active
  TEvent OnDeactivate;  // the application became inactive

  // Run-time figures; times are in counter ticks.
  int64_t Period() const { return period_; }          // at least 1
  int64_t Reference() const { return reference_; }    // next due time minus one period
  int64_t EventStart() const { return eventStart_; }  // counter when the last event began
  uint32_t Lag() const { return lag_; }               // whole periods at the last event, >= 1
  uint32_t Skipped() const { return skipped_; }       // sum of lag - 1 in the current second
  uint32_t SkippedLastSecond() const { return skippedLastSecond_; }
  uint32_t Events() const { return events_; }
  int32_t Rate() const { return rate_; }  // events per 1000 s
  int64_t HandlerTime() const { return handlerTime_; }
  int64_t IdleGap() const { return idleGap_; }  // end of previous handler to this event
  int64_t Load() const { return load_; }        // thousandths, last event
  int64_t LoadLastSecond() const { return loadLastSecond_; }
  bool Suspended() const { return suspended_; }
  TKIdleTimer* Dispatcher() const { return dispatcher_; }  // nullptr once detached

  // Moves the start of the current rate window later by `ticks`, so that a stretch in
  // which the timer could not fire (a blocking dialog) does not lower the measured rate.
  void ExcludeFromRate(int64_t ticks);

 private:
  friend class TKIdleTimer;
  void UpdatePeriod();
  void Restart(int64_t now);

  TKIdleTimer* dispatcher_ = nullptr;
  bool sharedDispatcher_ = false;

  bool activeOnly_ = true;
  bool enabled_ = true;
  int32_t interval_ = 1000;

  // Held in 64 bits: a 32-bit period would overflow past 4.29 s on a nanosecond counter.
  int64_t period_ = 1;
  int64_t reference_ = 0;
  int64_t elapsed_ = 0;
  int64_t eventStart_ = 0;
  uint32_t lag_ = 1;
  uint32_t skipped_ = 0;
  uint32_t skippedLastSecond_ = 0;
  uint32_t events_ = 0;
  int32_t rate_ = 0;
  uint32_t rateCount_ = 0;
  int64_t rateStart_ = 0;
  int64_t handlerTime_ = 0;
  int64_t idleGap_ = 0;
  int64_t lastEnd_ = 0;  // when the previous handler call ended
  int64_t load_ = 0;
  int64_t loadLastSecond_ = 0;
  int64_t busySum_ = 0;  // handler time in the current statistics second
  int64_t idleSum_ = 0;  // idle gaps in the current statistics second
  bool suspended_ = false;
};

// The dispatcher: serves its timers in creation order from the application's idle
// processing. Called only from the user-interface thread.
class TKIdleTimer {
 public:
  explicit TKIdleTimer(TClock& clock = DefaultClock());
  ~TKIdleTimer();  // detaches the timers still registered
  TKIdleTimer(const TKIdleTimer&) = delete;
  TKIdleTimer& operator=(const TKIdleTimer&) = delete;

  // The program's shared dispatcher, or nullptr while no timer uses it.
  static TKIdleTimer* Shared();

  // One idle pass: fires every due timer. A call made from inside a handler (a modal
  // dialog re-entering the event loop) returns at once with {false, 0} and fires nothing.
  TIdleResult IdlePass();
  bool InPass() const { return inPass_; }

  // Application activation and deactivation: active-only timers are suspended while the
  // application is inactive and restart at now, without backlog, on activation.
  void SetAppActive(bool active);

  TClock& Clock() const { return clock_; }
  int64_t Frequency() const { return frequency_; }  // read once at creation
  size_t TimerCount() const;

 private:
  friend class TKTimer;
  void Register(TKTimer* timer);
  void Unregister(TKTimer* timer);
  void EndIteration();     // compacts the list once no walk over it is running
  bool ReleaseIfUnused();  // frees the shared dispatcher when its last timer is gone

  TClock& clock_;
  int64_t frequency_;
  std::vector<TKTimer*> timers_;  // creation order; nullptr for one removed during a pass
  bool inPass_ = false;
  int iterating_ = 0;  // walks over timers_ in progress (idle pass, activation)
  bool appActive_ = true;
};

// Catch-up bound of the move clock: an event whose lag says `lag` game steps are due runs
// at most one second's worth of steps (1000 / tickMs, at least 1), so after a system
// suspend or a long stall the game resumes instead of running thousands of steps at once.
uint32_t CatchUpSteps(uint32_t lag, uint32_t tickMs);

// The draw clock's interval for a draw delay in ms: 0 ("Maximum F/s") acts as 1.
int32_t DrawTimerInterval(uint32_t drawDelayMs);

// The main window's rate bookkeeping over measurement periods of about one second, kept
// from the handlers of the draw clock and the move clock (both on one dispatcher).
class TMeasurement {
 public:
  TMeasurement(TKTimer& drawTimer, TKTimer& moveTimer);

  void Start();  // a new measurement period begins now

  // Around every blocking dialog. The pause length is added to the measurement start, so
  // dialog time does not lower the measured rates (only the part after the start, should
  // a refresh have happened under the dialog). When the dialog was opened from inside
  // a clock handler the clocks cannot fire meanwhile, and the pause is also taken out of
  // their rate windows. Nested pauses count once, from the outermost begin to its end.
  void BeginPause();
  void EndPause();
  bool Paused() const { return pauseDepth_ > 0; }

  // From the draw handler: true when the current event started more than one second after
  // the measurement start; Refresh then takes the rates and starts a new period at the
  // event's start.
  bool RefreshDue() const;
  void Refresh();

  void CountFrame() { ++frames; }
  void CountStep(uint32_t tickMs) {
    ++steps;
    totalSteppedMs += tickMs;
  }

  uint32_t drawRate = 0;       // draw clock events per second x 100
  uint32_t stepRate = 0;       // move clock events per second x 100
  uint32_t frames = 0;         // frames since the measurement start
  uint32_t steps = 0;          // steps since the measurement start
  int64_t totalSteppedMs = 0;  // game tick per step, never reset
  int64_t start = 0;           // counter ticks

 private:
  TKTimer& draw_;
  TKTimer& move_;
  int pauseDepth_ = 0;
  int64_t pauseStart_ = 0;
  bool pauseBlocksClocks_ = false;
};

}  // namespace kelvra
