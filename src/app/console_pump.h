// The pump of the console commands: there are no window messages to
// process and no Cancel button.
#pragma once

#include "platform/pump_api.h"

namespace orvix {

class ConsolePump : public IPump {
 public:
  void ProcessMessages() override {}
  bool StopRequested() override { return false; }
};

}  // namespace orvix
