#include "window/U_login.h"

#include <QKeyEvent>

#include "widgets/message_box.h"
#include "widgets/screen_centre.h"
#include "window/U_connection.h"
#include "window/U_ez_config_main.h"
#include "window/focused_button.h"
#include "window/guarded.h"

TF_Login::TF_Login(QWidget* parent) : QDialog(parent) {
  setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(size());

  // Neither button is the default: Enter presses OK or Cancel only when it has the focus (and
  // OK in the password field, through the field's own handler).
  pressOnEnter(BB_OK);
  pressOnEnter(BB_Cancel);

  connect(BB_OK, &QPushButton::clicked, this, [this] { runGuarded([this] { BB_OKClick(); }); });
  connect(BB_Cancel, &QPushButton::clicked, this,
          [this] { runGuarded([this] { BB_CancelClick(); }); });
  // Enter in the password field only; Enter in the ID field means nothing.
  connect(ED_Password, &QLineEdit::returnPressed, this,
          [this] { runGuarded([this] { ED_PasswordKeyPress(); }); });
}

void TF_Login::setPeers(TF_ez_config_main* main, TF_Connection* connection) {
  main_ = main;
  connection_ = connection;
}

void TF_Login::BB_OKClick() {
  if (ED_ID->text().isEmpty() || ED_Password->text().isEmpty()) {
    showMessageBox(main_->messages.text(QStringLiteral("Please fill out all contents")),
                   QStringLiteral("Warning"), QMessageBox::Warning);
    return;
  }
  TF_ez_config_main& m = *main_;
  m.M_State_Info->clear();
  // ID and password go out exactly as typed; the session empties the form for the fresh read and
  // the busy cursor shows until the read ends, the login is refused or the link closes.
  m.session.login(ED_ID->text(), ED_Password->text());
  m.showSessionState();
  m.PageControl1->setActivePageIndex(0);
  m.PageControl1->setFocus();
}

void TF_Login::ED_PasswordKeyPress() {
  BB_OKClick();
}

void TF_Login::BB_CancelClick() {
  // A login given up (never answered, or not wanted any more) leaves nothing to wait for: a late
  // answer starts no read.
  if (main_) {
    main_->session.cancelLogin();
    main_->showSessionState();
  }
  close();
}

void TF_Login::keyPressEvent(QKeyEvent* event) {
  // Escape is the Cancel button, with what Cancel does besides closing.
  if (event->key() == Qt::Key_Escape) {
    BB_Cancel->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TF_Login::passwordRefused() {
  // Typing replaces the refused password instead of adding to it.
  ED_Password->setFocus();
  ED_Password->selectAll();
}

void TF_Login::forgetPassword() {
  ED_Password->clear();
}

void TF_Login::showEvent(QShowEvent* event) {
  centreOnScreen(*this);
  QDialog::showEvent(event);
}
