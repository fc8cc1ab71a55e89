#include "window/focused_button.h"

#include <QKeyEvent>
#include <QPushButton>

namespace {

class EnterPresses : public QObject {
 public:
  explicit EnterPresses(QPushButton* button) : QObject(button), button_(button) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != button_ || event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    if (button_->isEnabled()) button_->click();
    return true;
  }

 private:
  QPushButton* button_;
};

}  // namespace

void pressOnEnter(QPushButton* button) {
  button->installEventFilter(new EnterPresses(button));
}
