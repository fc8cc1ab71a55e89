#pragma once
// The login dialog: collects the device's login ID and password, prepares the main window for a
// fresh read and sends the login line. The device's answer is handled by the reply parser.
#include <QDialog>

#include "ui_U_login.h"

class TF_ez_config_main;
class TF_Connection;

class TF_Login : public QDialog, public Ui::TF_Login {
  Q_OBJECT
 public:
  explicit TF_Login(QWidget* parent = nullptr);

  void setPeers(TF_ez_config_main* main, TF_Connection* connection);

  void BB_OKClick();
  // Enter in the password field works as the OK button.
  void ED_PasswordKeyPress();
  void BB_CancelClick();

  // The gateway refused the login: the password is selected for typing anew.
  void passwordRefused();
  // The login was accepted: the next session's dialog does not offer this password.
  void forgetPassword();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  TF_ez_config_main* main_ = nullptr;
  TF_Connection* connection_ = nullptr;
};
