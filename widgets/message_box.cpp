#include "widgets/message_box.h"

#include <QApplication>
#include <QFileDialog>

namespace {
MessageBoxInterceptor& interceptorSlot() {
  static MessageBoxInterceptor interceptor;
  return interceptor;
}

SaveFileInterceptor& saveFileSlot() {
  static SaveFileInterceptor interceptor;
  return interceptor;
}
}  // namespace

void setMessageBoxInterceptor(MessageBoxInterceptor interceptor) {
  interceptorSlot() = std::move(interceptor);
}

QMessageBox::StandardButton showMessageBox(const QString& text, const QString& caption,
                                           QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons) {
  if (const MessageBoxInterceptor& interceptor = interceptorSlot()) {
    // Copy: the interceptor may replace itself while it runs.
    const MessageBoxInterceptor current = interceptor;
    return current(MessageBoxRequest{text, caption, icon, buttons});
  }
  QMessageBox box(icon, caption, text, buttons, QApplication::activeWindow());
  box.setObjectName(QStringLiteral("MessageBox"));
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

QMessageBox::StandardButton confirmBox(const QString& text, QMessageBox::StandardButtons buttons) {
  return showMessageBox(text, QStringLiteral("Confirm"), QMessageBox::Question, buttons);
}

void showStandardError(const QString& text) {
  showMessageBox(text, QCoreApplication::applicationName(), QMessageBox::Critical, QMessageBox::Ok);
}

void setSaveFileInterceptor(SaveFileInterceptor interceptor) {
  saveFileSlot() = std::move(interceptor);
}

QString askSaveFileName(const QString& caption, const QString& suggestedPath,
                        const QString& filter) {
  if (const SaveFileInterceptor& interceptor = saveFileSlot()) {
    const SaveFileInterceptor current = interceptor;
    return current(SaveFileRequest{caption, suggestedPath, filter});
  }
  return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, suggestedPath, filter);
}
