#include "connection/U_login.h"

#include <QKeyEvent>

TF_Login::TF_Login(QWidget* parent) : QDialog(parent) {
  setupUi(this);
}

void TF_Login::setPeers(TF_ez_config_main* main, TF_Connection* connection) {
  main_ = main;
  connection_ = connection;
}

void TF_Login::BB_OKClick() {}
void TF_Login::ED_PasswordKeyPress() {
  BB_OKClick();
}
void TF_Login::BB_CancelClick() {
  close();
}

void TF_Login::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) return;  // Esc does not close the dialog
  QDialog::keyPressEvent(event);
}

void TF_Login::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
}
