#include "widgets/message_box.h"

#include <QApplication>
#include <QFileDialog>

namespace {
MessageBoxInterceptor& interceptorSlot() {
  static MessageBoxInterceptor interceptor;
  return interceptor;
}

FileInterceptor& fileSlot() {
  static FileInterceptor interceptor;
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

void setFileInterceptor(FileInterceptor interceptor) {
  fileSlot() = std::move(interceptor);
}

namespace {
QString askFile(const FileRequest& request) {
  if (const FileInterceptor& interceptor = fileSlot()) {
    const FileInterceptor current = interceptor;
    return current(request);
  }
  if (request.open)
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), request.caption,
                                        request.suggestedPath, request.filter);
  return QFileDialog::getSaveFileName(QApplication::activeWindow(), request.caption,
                                      request.suggestedPath, request.filter);
}
}  // namespace

QString askSaveFileName(const QString& caption, const QString& suggestedPath,
                        const QString& filter) {
  return askFile(FileRequest{caption, suggestedPath, filter, false});
}

QString askOpenFileName(const QString& caption, const QString& suggestedPath,
                        const QString& filter) {
  return askFile(FileRequest{caption, suggestedPath, filter, true});
}
