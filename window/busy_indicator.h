#pragma once
// Tells the operator that the tool is waiting for the gateway: the application shows the busy
// cursor while a read chain or a write exchange is outstanding. The main window owns one; the
// places that start and end those exchanges switch it.
class BusyIndicator {
 public:
  BusyIndicator() = default;
  ~BusyIndicator();
  BusyIndicator(const BusyIndicator&) = delete;
  BusyIndicator& operator=(const BusyIndicator&) = delete;

  // Idempotent: the override cursor is set once when busy begins and restored once when it ends,
  // never stacked, however often either is asked for.
  void setBusy(bool busy);
  bool isBusy() const { return busy_; }

 private:
  bool busy_ = false;
  // The override cursor was set by us and is still to be restored.
  bool cursorSet_ = false;
};
