#pragma once
// The one way the layers below the security layer start and stop the supplicant. The security
// layer implements it; the configuration layer and the windows only know this interface.

namespace config {

class SupplicantControl {
 public:
  virtual ~SupplicantControl() = default;
  // Ends a running supplicant and starts it anew for the stored authentication mode.
  virtual void StartSupplicant() = 0;
  // Ends a running supplicant; does nothing when none runs.
  virtual void StopSupplicant() = 0;
};

// Serves tests that check when the supplicant is asked for: it only counts the requests.
class RecordingSupplicantControl final : public SupplicantControl {
 public:
  void StartSupplicant() override { ++startRequests_; }
  void StopSupplicant() override { ++stopRequests_; }
  int StartRequests() const { return startRequests_; }
  int StopRequests() const { return stopRequests_; }

 private:
  int startRequests_ = 0;
  int stopRequests_ = 0;
};

}  // namespace config
