#include "window/U_login.h"

#include <QKeyEvent>

#include "ui_U_login.h"
#include "widgets/message_box.h"
#include "widgets/screen_centre.h"
#include "window/focused_button.h"
#include "window/guarded.h"
#include "window/message_table.h"

TF_Login::TF_Login(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TF_Login>()) {
  ui_->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(size());

  // Neither button is the default: Enter presses OK or Cancel only when it has the focus (and
  // OK in the password field, through the field's own handler).
  pressOnEnter(ui_->BB_OK);
  pressOnEnter(ui_->BB_Cancel);

  connect(ui_->BB_OK, &QPushButton::clicked, this,
          [this] { runGuarded([this] { BB_OKClick(); }); });
  connect(ui_->BB_Cancel, &QPushButton::clicked, this,
          [this] { runGuarded([this] { BB_CancelClick(); }); });
  // Enter in the password field only; Enter in the ID field means nothing.
  connect(ui_->ED_Password, &QLineEdit::returnPressed, this,
          [this] { runGuarded([this] { ED_PasswordKeyPress(); }); });
}

TF_Login::~TF_Login() = default;

void TF_Login::setMessages(const MessageTable* messages) {
  messages_ = messages;
}

void TF_Login::BB_OKClick() {
  if (ui_->ED_ID->text().isEmpty() || ui_->ED_Password->text().isEmpty()) {
    const QString key = QStringLiteral("Please fill out all contents");
    showMessageBox(messages_ ? messages_->text(key) : key, QStringLiteral("Warning"),
                   QMessageBox::Warning);
    return;
  }
  emit loginRequested(ui_->ED_ID->text(), ui_->ED_Password->text());
}

void TF_Login::ED_PasswordKeyPress() {
  BB_OKClick();
}

void TF_Login::BB_CancelClick() {
  // A login given up (never answered, or not wanted any more) leaves nothing to wait for: a late
  // answer starts no read.
  emit loginCancelled();
  close();
}

void TF_Login::keyPressEvent(QKeyEvent* event) {
  // Escape is the Cancel button, with what Cancel does besides closing.
  if (event->key() == Qt::Key_Escape) {
    ui_->BB_Cancel->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TF_Login::passwordRefused() {
  // Typing replaces the refused password instead of adding to it.
  ui_->ED_Password->setFocus();
  ui_->ED_Password->selectAll();
}

void TF_Login::forgetPassword() {
  ui_->ED_Password->clear();
}

void TF_Login::showEvent(QShowEvent* event) {
  centreOnScreen(*this);
  QDialog::showEvent(event);
}
