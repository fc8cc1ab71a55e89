#pragma once
// What the window tests share: the real windows created once per test program, recording
// transports for both link kinds, and message boxes answered by the test instead of shown.
#include <QApplication>
#include <QList>
#include <QMessageBox>
#include <QStandardPaths>
#include <QtTest>

#include "controls.h"
#include "recording_transport.h"
#include "session_link.h"
#include "transports/serial_port_facility.h"
#include "transports/tcp_client_socket.h"
#include "widgets/message_box.h"
#include "window/U_connection.h"
#include "window/U_debug.h"
#include "window/U_ez_config_main.h"
#include "window/U_login.h"
#include "window/app_start.h"

struct WindowEnv {
  TF_ez_config_main* main = nullptr;
  TF_Connection* connection = nullptr;
  TF_Debug* debug = nullptr;
  TF_Login* login = nullptr;
  RecordingTransport serial;
  RecordingTransport tcp;
  QList<MessageBoxRequest> boxes;
  // The answers given to the next boxes, in order; Ok when none is left.
  QList<QMessageBox::StandardButton> answers;

  Link& link() { return main->session.link(); }

  // Once per test program, in its working directory.
  void create() {
    // Save writes at once here; the review and the backups have tests of their own.
    QStandardPaths::setTestModeEnabled(true);
    TF_ez_config_main::setReviewBeforeSave(false);
    TF_ez_config_main::setVerifyAfterSave(false);
    createAppWindows();
    main = find<TF_ez_config_main>();
    connection = find<TF_Connection>();
    debug = find<TF_Debug>();
    login = find<TF_Login>();
    QVERIFY(main && connection && debug && login);
    useLink(kLinkTcp);
    setMessageBoxInterceptor([this](const MessageBoxRequest& request) {
      boxes.append(request);
      return answers.isEmpty() ? QMessageBox::Ok : answers.takeFirst();
    });
  }

  // A fresh open link of `kind` on the recording transports (the session in LoggingIn).
  void useLink(LinkKindCode kind) {
    reopenSession(main->session, kind == kLinkTcp ? &tcp : &serial, kind,
                  kind == kLinkTcp ? &serial : &tcp);
  }

  // No link, as at start: the fixture's link closes (the windows see it go).
  void closeLink() {
    main->session.adoptedTransportClosed();
    main->session.close();
  }

  // What the link sends on a serial port the session opened itself (its own port facility, a
  // pseudo terminal) is recorded in `serial` instead, where a failNextSend can fail it.
  void recordSerialSends() { link().setSerialTransport(&serial); }

  // The operator logs in and the device accepts: the read chain runs (state Reading). What the
  // login sent is forgotten.
  void logIn() {
    control<QLineEdit>(login, "ED_ID")->setText(QStringLiteral("admin"));
    control<QLineEdit>(login, "ED_Password")->setText(QStringLiteral("secret"));
    login->BB_OKClick();
    answerLogin(main->session);
    serial.sent.clear();
    tcp.sent.clear();
  }

  // The device answers the read chain that logIn() started, each query with an empty reply and
  // the model query with `model`: the session ends Ready (a completed read). What was sent is
  // forgotten.
  void readConfiguration(const QByteArray& model = "ZQ520-A") {
    GatewaySession& session = main->session;
    RecordingTransport& wire = session.linkKind() == kLinkSerial ? serial : tcp;
    QByteArray query = "get-model";  // logIn() forgot that it went out
    int answered = wire.sent.size();
    while (session.state() == SessionState::Reading && !query.isEmpty()) {
      QByteArray reply = query + "\r!START-TAG!\r";
      if (query == "get-model") reply += "model " + model + '\r';
      session.receive(reply + "!END-TAG!\r");
      // The next query of the chain; the blanks that answer the device's pager are no query.
      query.clear();
      for (; answered < wire.sent.size() && query.isEmpty(); ++answered)
        if (wire.sent.at(answered).startsWith("get-")) query = wire.sent.at(answered).chopped(1);
    }
    QCOMPARE(session.state(), SessionState::Ready);
    serial.sent.clear();
    tcp.sent.clear();
  }

  // A fresh link of `kind`, logged in and completely read (state Ready).
  void useReadLink(LinkKindCode kind = kLinkTcp) {
    useLink(kind);
    logIn();
    readConfiguration();
  }

  template <typename T>
  T* find() const {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* t = qobject_cast<T*>(w)) return t;
    return nullptr;
  }

  void resetRecords() {
    serial.sent.clear();
    tcp.sent.clear();
    boxes.clear();
    answers.clear();
  }
};
