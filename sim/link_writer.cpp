#include "link_writer.h"

namespace gwsim {

LinkWriter::LinkWriter(int baud, qint64 dropAfterBytes, Sink sink, QObject* parent)
    : QObject(parent), baud_(baud), dropAfter_(dropAfterBytes), sink_(std::move(sink)) {
  tick_.setTimerType(Qt::PreciseTimer);
  tick_.setInterval(5);
  connect(&tick_, &QTimer::timeout, this, &LinkWriter::pump);
}

void LinkWriter::send(const QByteArray& bytes) {
  if (dropped_ || bytes.isEmpty()) return;
  if (pending_.isEmpty() && baud_ > 0) {
    clock_.start();
    pacedBytes_ = 0;
  }
  pending_ += bytes;
  pump();
}

void LinkWriter::pump() {
  if (dropped_) return;
  qint64 allowed = pending_.size();
  if (baud_ > 0) {
    const double due = double(clock_.nsecsElapsed()) * baud_ / 10.0 / 1e9;
    allowed = qMin(allowed, qint64(due) - pacedBytes_);
  }
  if (dropAfter_ > 0) allowed = qMin(allowed, dropAfter_ - sent_);
  if (allowed > 0) {
    const qint64 taken = sink_(pending_.left(allowed));
    if (taken < 0) {
      pending_.clear();
      tick_.stop();
      emit failed();
      return;
    }
    pending_.remove(0, taken);
    sent_ += taken;
    pacedBytes_ += taken;
  }
  if (dropAfter_ > 0 && sent_ >= dropAfter_) {
    dropped_ = true;
    pending_.clear();
    tick_.stop();
    emit dropLimitReached();
    return;
  }
  if (pending_.isEmpty()) {
    tick_.stop();
    emit drained();
  } else if (baud_ > 0 && !tick_.isActive()) {
    tick_.start();
  }
}

}  // namespace gwsim
