// The pump of a window whose model runs a long step: before the messages
// run, the window draws what the model says now (progress, the busy
// indicator, the current title), so the user sees the step move.
#pragma once

#include <functional>

#include "ui/ui_pump.h"

namespace orvix::ui {

class ViewPump : public UiPump {
 public:
  explicit ViewPump(std::function<void()> sync) : sync_(std::move(sync)) {}
  void ProcessMessages() override {
    if (sync_) sync_();
    UiPump::ProcessMessages();
  }

 private:
  std::function<void()> sync_;
};

}  // namespace orvix::ui
