#pragma once
// Every modal box of the tool goes through these functions, so that tests can intercept them: the
// message boxes and the Save dialog's file-name question.
#include <QMessageBox>
#include <QString>
#include <functional>

struct MessageBoxRequest {
  QString text;
  QString caption;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
};

// Returns the answer instead of showing a box; an empty function restores real boxes.
using MessageBoxInterceptor = std::function<QMessageBox::StandardButton(const MessageBoxRequest&)>;
void setMessageBoxInterceptor(MessageBoxInterceptor interceptor);

// A modal box with this text, caption, icon and buttons; returns the button pressed.
QMessageBox::StandardButton showMessageBox(const QString& text, const QString& caption,
                                           QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// The toolkit's confirmation box: caption "Confirm", question icon.
QMessageBox::StandardButton confirmBox(const QString& text, QMessageBox::StandardButtons buttons);

// The application's standard error box (caption: the application name, error icon, OK).
void showStandardError(const QString& text);

// A question for a file: one to save to, or (open) one to read.
struct FileRequest {
  QString caption;
  QString suggestedPath;
  QString filter;  // "Log files (*.log);;All files (*)"
  bool open = false;
};
using SaveFileRequest = FileRequest;

// Returns the chosen path (empty: cancelled) instead of showing the dialog, for every file
// question; an empty function restores the real dialogs.
using FileInterceptor = std::function<QString(const FileRequest&)>;
using SaveFileInterceptor = FileInterceptor;
void setFileInterceptor(FileInterceptor interceptor);
inline void setSaveFileInterceptor(FileInterceptor interceptor) {
  setFileInterceptor(std::move(interceptor));
}

// The toolkit's modal Save dialog; returns the chosen path, empty when the operator cancelled.
QString askSaveFileName(const QString& caption, const QString& suggestedPath,
                        const QString& filter);
// The toolkit's modal Open dialog for an existing file; empty when the operator cancelled.
QString askOpenFileName(const QString& caption, const QString& suggestedPath,
                        const QString& filter);
