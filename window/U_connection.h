#pragma once
// The connection dialog: chooses the serial port or the TCP address and hands the choice over
// (connectRequested); whoever owns the session opens it and reports back with showOutcome. The
// dialog keeps the operator's choice, tells what failed, and says when a gateway answered.
#include <QDialog>
#include <QString>
#include <memory>

class MessageTable;

namespace Ui {
class TF_Connection;
}

// The link the operator chose in the connection dialog.
struct ConnectionChoice {
  enum class Kind { Serial, Tcp };
  Kind kind = Kind::Serial;
  // The serial port the list shows (its default when the list offers none).
  QString portName;
  // The TCP address as typed (dotted IPv4) and the port number.
  QString host;
  int port = 0;
};

class TF_Connection : public QDialog {
  Q_OBJECT
 public:
  explicit TF_Connection(QWidget* parent = nullptr);
  ~TF_Connection() override;

  // The texts of the boxes this dialog shows.
  void setMessages(const MessageTable* messages);

  // What the form chooses right now (the TCP port as far as it is a number).
  ConnectionChoice choice() const;

  // Dialog handlers.
  void RB_SerialClick();
  void RB_TCPClick();
  void CB_SerialChange();
  void BB_ConnectClick();
  void BB_CancelClick();

  // How an open of the chosen link ended.
  enum class Outcome {
    Opened,     // a gateway answered (serial) or the socket connected (TCP)
    NotOpened,  // no gateway answered, or the socket did not connect in time
    Failed      // a link failure, already told in the standard error box
  };
  // The answer to connectRequested: on success the choice is remembered for the next run and the
  // dialog closes (connected); a link that did not open is told in a box.
  void showOutcome(Outcome outcome);

 signals:
  // OK with a valid choice: the link is to be opened (showOutcome tells how it went).
  void connectRequested(const ConnectionChoice& choice);
  // The operator picked another serial port: an open port is closed and the new one opened.
  void serialPortChosen(const QString& portName);
  // The chosen link is open and the dialog closed: the login comes next.
  void connected();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void connectTcp();
  QString text(const QString& key) const;
  // The last connection that succeeded, offered at start and stored on each success.
  void offerLastConnection();
  void rememberConnection() const;
  void setTcpControlsEnabled(bool enabled);
  void fillPortList();

  std::unique_ptr<Ui::TF_Connection> ui_;
  const MessageTable* messages_ = nullptr;
  // An OK is being handled: the probe or the socket's wait is under way.
  bool connecting_ = false;
  // The kind of the choice whose outcome is awaited.
  ConnectionChoice::Kind requested_ = ConnectionChoice::Kind::Serial;
};
