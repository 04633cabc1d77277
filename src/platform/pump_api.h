// Long loops on the user-interface thread let the window stay responsive:
// they process pending messages between steps, then ask whether to stop.
#pragma once

namespace orvix {

class IPump {
 public:
  virtual ~IPump() = default;
  virtual void ProcessMessages() = 0;
  virtual bool StopRequested() = 0;
};

}  // namespace orvix
