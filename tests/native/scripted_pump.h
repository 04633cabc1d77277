// A pump a test can script: counts its calls and runs the test's action on
// each, e.g. to press Cancel or lock a file in the middle of a run.
#pragma once

#include <functional>

#include "platform/pump_api.h"

namespace orvix::testing {

class ScriptedPump : public IPump {
 public:
  void ProcessMessages() override {
    ++calls;
    if (onMessages) onMessages(calls);
  }
  bool StopRequested() override { return stop; }

  std::function<void(int call)> onMessages;
  int calls = 0;
  bool stop = false;
};

}  // namespace orvix::testing
