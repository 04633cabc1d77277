// The windows' IPump: a long model call on the user-interface thread lets
// the window's messages run between its steps and asks whether the user
// pressed Cancel (or the program is quitting). BusyScope disables every
// control of a window but Cancel for one run and puts each back as it was.
#pragma once

#include <vector>

#include "platform/pump_api.h"
#include "ui/win.h"

namespace orvix::ui {

class UiPump : public IPump {
 public:
  // Runs pending messages, and redraws what they invalidated.
  void ProcessMessages() override;
  bool StopRequested() override { return stop_ || quitting_; }

  // The Cancel button's click (or closing the window) during a run.
  void RequestStop() { stop_ = true; }
  // A new run starts without the last one's Cancel.
  void Reset() { stop_ = false; }

 private:
  bool stop_ = false;
  bool quitting_ = false;
};

class BusyScope {
 public:
  // Disables every child control of `window` but `cancel` (may be null) and
  // shows the wait cursor over the window until the scope ends.
  BusyScope(HWND window, HWND cancel);
  ~BusyScope();
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

  // Whether some BusyScope is open on `window`.
  static bool IsBusy(HWND window);

 private:
  HWND window_;
  std::vector<HWND> disabled_;
};

}  // namespace orvix::ui
