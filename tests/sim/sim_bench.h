#pragma once

// A device with one console session and no transport, driven byte by byte, and the tool
// miniature wired to it.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <functional>
#include <memory>

#include "sim/console_session.h"
#include "sim/gateway_device.h"
#include "tool_model.h"

struct SimBench {
  gwsim::SimOptions options;
  gwsim::TrafficLog log;
  std::unique_ptr<gwsim::GatewayDevice> device;
  std::unique_ptr<gwsim::ConsoleSession> session;
  QByteArray out;  // everything the session sent since the last type()
  std::function<void(const QByteArray&)> listener;
  QString startError;

  explicit SimBench(gwsim::SimOptions o = gwsim::SimOptions(), const QString& link = "test")
      : options(std::move(o)) {
    device = std::make_unique<gwsim::GatewayDevice>(options, &log);
    device->start(&startError);
    session = std::make_unique<gwsim::ConsoleSession>(device.get(), link);
    QObject::connect(session.get(), &gwsim::ConsoleSession::output, [this](const QByteArray& b) {
      out += b;
      if (listener) listener(b);
    });
  }

  QByteArray type(const QByteArray& input) {
    out.clear();
    session->receive(input);
    return out;
  }

  QByteArray login() { return type("start-login admin admin\r"); }

  // Reads the whole configuration as the tool does, from the login to the DNS reply.
  toolmodel::Form read(bool* complete = nullptr) {
    toolmodel::Reader reader;
    QList<QByteArray> inbox;
    reader.send = [&](const QByteArray& bytes) { inbox << bytes; };
    listener = [&](const QByteArray& bytes) { reader.feed(bytes); };
    reader.login(options.login, options.password);
    while (!inbox.isEmpty()) session->receive(inbox.takeFirst());
    listener = nullptr;
    if (complete) *complete = reader.chainDone;
    return reader.form;
  }

  // The write exchange as the tool drives it; true when the second end tag came.
  bool write(const QStringList& script, int* startTags = nullptr) {
    if (!session->inEasySetup()) login();
    int starts = 0, ends = 0;
    QByteArray line;
    listener = [&](const QByteArray& bytes) {
      for (char c : bytes) {
        if (c != '\r' && c != '\n') {
          line += c;
          continue;
        }
        const QByteArray first = line.trimmed().split(' ').value(0);
        if (first == "!START-TAG!") ++starts;
        if (first == "!END-TAG!") ++ends;
        line.clear();
      }
    };
    session->receive("\r");
    session->receive("write-system\r");
    session->receive("!START-TAG!\r");
    if (startTags) *startTags = starts;
    if (starts >= 2) {
      QByteArray text;
      for (const QString& l : script) text += l.toLatin1() + '\r';
      session->receive(text);
      session->receive("!END-TAG!\r");
    }
    listener = nullptr;
    return starts >= 2 && ends >= 2;
  }
};

// The lines of a reply, split at CR LF.
inline QList<QByteArray> replyLines(const QByteArray& bytes, const QByteArray& eol = "\r\n") {
  QList<QByteArray> out = bytes.split(eol.at(eol.size() - 1));
  for (QByteArray& l : out)
    if (eol.size() == 2 && l.endsWith(eol.at(0))) l.chop(1);
  if (!out.isEmpty() && out.last().isEmpty()) out.removeLast();
  return out;
}
