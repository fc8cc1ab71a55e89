#pragma once
// The login dialog: collects the device's login ID and password and hands them over
// (loginRequested); whoever owns the session sends the login and prepares the main window. The
// device's answer comes back through forgetPassword and passwordRefused.
#include <QDialog>
#include <memory>

class MessageTable;

namespace Ui {
class TF_Login;
}

class TF_Login : public QDialog {
  Q_OBJECT
 public:
  explicit TF_Login(QWidget* parent = nullptr);
  ~TF_Login() override;

  // The texts of the boxes this dialog shows.
  void setMessages(const MessageTable* messages);

  void BB_OKClick();
  // Enter in the password field works as the OK button.
  void ED_PasswordKeyPress();
  void BB_CancelClick();

  // The gateway refused the login: the password is selected for typing anew.
  void passwordRefused();
  // The login was accepted: the next session's dialog does not offer this password.
  void forgetPassword();

 signals:
  // OK with both fields filled: ID and password exactly as typed.
  void loginRequested(const QString& id, const QString& password);
  // Cancel (or Escape): a login sent and not answered yet is given up.
  void loginCancelled();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  std::unique_ptr<Ui::TF_Login> ui_;
  const MessageTable* messages_ = nullptr;
};
