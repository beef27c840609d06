// Marks a window handler that may dispatch messages (a login dialog, a result copy) as running, so
// that a close arriving meanwhile waits. `State` has an int `busy`; finishBusy(State&) runs when the
// outermost section ends and may free the state.
#pragma once

template <class State>
class BusySectionOf {
  public:
    explicit BusySectionOf(State& state) : state_(state) { ++state_.busy; }
    ~BusySectionOf() {
        --state_.busy;
        finishBusy(state_);
    }
    BusySectionOf(const BusySectionOf&) = delete;
    BusySectionOf& operator=(const BusySectionOf&) = delete;

  private:
    State& state_;
};
