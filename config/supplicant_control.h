#pragma once
// The one way the configuration layer asks for the supplicant to be (re)started. The security
// layer implements it; the configuration layer only knows this interface.

namespace config {

class SupplicantControl {
 public:
  virtual ~SupplicantControl() = default;
  // Ends a running supplicant and starts it anew for the stored authentication mode.
  virtual void StartSupplicant() = 0;
};

// Stands in until the supplicant itself is wired in, and serves tests: it only counts the
// requests.
class RecordingSupplicantControl final : public SupplicantControl {
 public:
  void StartSupplicant() override { ++startRequests_; }
  int StartRequests() const { return startRequests_; }

 private:
  int startRequests_ = 0;
};

}  // namespace config
