#pragma once
// The main window: a view of the configuration model and of the session with one gateway. Its
// controls mirror the model both ways (window/model_mirror.h); the option handlers run in the
// model; the buttons, the cover and the busy cursor follow the session's state
// (window/session_view.cpp).
#include <QElapsedTimer>
#include <QMessageBox>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

#include "model/config_model.h"
#include "session/gateway_session.h"
#include "widgets/string_grid.h"
#include "window/U_review.h"
#include "window/busy_indicator.h"
#include "window/message_table.h"

class QAction;
class QMenu;
class QPainter;
class QShortcut;
class QTimer;
class TF_Connection;
class TF_Debug;
class TF_Login;
class ModelMirror;
class ChangeTracker;
namespace Ui {
class TF_ez_config_main;
}

class TF_ez_config_main : public QWidget {
  Q_OBJECT
 public:
  explicit TF_ez_config_main(QWidget* parent = nullptr);
  ~TF_ez_config_main() override;

  // Every configuration value the window shows; the controls mirror it.
  ConfigModel model;
  // The link to the gateway, the read, Save, the status requests and the restart.
  GatewaySession session{model};

  // The fifteen dialog texts, filled by the language file.
  MessageTable messages;

  // Restart wait (40 s), status poll (20 s) and restart gauge (700 ms); all stopped at start.
  QTimer* Timer1 = nullptr;
  QTimer* T_State_Info = nullptr;
  QTimer* Timer_gauge = nullptr;
  int GaugeTicks = 0;
  // Started with the restart wait: the gauge shows how much of it has passed.
  QElapsedTimer restartClock_;

  // Busy cursor while a read chain or a write exchange is outstanding (window/busy_indicator.h).
  BusyIndicator busy;

  // The window's context menu; its only entry is the hidden debug entry (Ctrl+Delete).
  QMenu* PopupMenu1 = nullptr;
  QAction* debug1 = nullptr;

  // The configuration button's menu (window/configuration_files.cpp): the form to a file, a file
  // or a backup of this gateway to the form. Nothing is sent until Save.
  QMenu* ConfigMenu = nullptr;
  QAction* export1 = nullptr;
  QAction* import1 = nullptr;
  QAction* restore1 = nullptr;
  void export1Click();
  void import1Click();
  void restore1Click();
  // Applies a format-1 file to the form through the configuration's checks; what it changes is
  // marked. False (and the problems shown) when it is refused.
  bool applyConfigurationFile(const QString& path);

  void setPeers(TF_Connection* connection, TF_Debug* debug);
  // The login dialog, whose captions the language file also sets.
  void setLogin(TF_Login* login);
  TF_Connection* connection() const { return connection_; }
  TF_Debug* debugWindow() const { return debug_; }
  TF_Login* login() const { return login_; }

  // Timer intervals in milliseconds. The product keeps the defaults; tests shorten them before the
  // timers are started (the intervals are applied each time a timer is enabled).
  struct TimerIntervals {
    int restartWait = SessionTiming::kRestartWaitMs;
    int statusPoll = SessionTiming::kStatusPollMs;
    int gauge = 700;
  };
  static void setTimerIntervalsForTests(const TimerIntervals& intervals);
  static TimerIntervals timerIntervals();

  // Window events.
  void FormCreate();
  void FormShow();
  bool FormCloseQuery();
  void FormClose();

  // Button bar and hidden entry.
  void BB_ConnectClick();
  void BB_DisconnectClick();
  void BB_ExitClick();
  void BB_SaveClick();
  // Save's flow: the review of the changes, the backup of the configuration as read, the checks
  // and the write exchange. True when the exchange began.
  bool startSave();
  // After the gateway confirms a Save, the configuration is read back and compared (on by
  // default).
  static bool verifyAfterSave();
  static void setVerifyAfterSave(bool on);
  // The review before Save is shown (remembered in the settings; on by default).
  static bool reviewBeforeSave();
  static void setReviewBeforeSave(bool on);
  // The review's rows for a Save of `toWrite` over `asRead`.
  QList<ReviewRow> reviewRows(const GatewayConfiguration& asRead,
                              const GatewayConfiguration& toWrite) const;
  void debug1Click();

  // Restart wait and status poll.
  void BB_RestartClick();
  void Timer1Timer();
  void Timer_gaugeTimer();
  void T_State_InfoTimer();
  void PageControl1Change();
  // Connect/Disconnect, Save, Restart and the busy cursor as the session's state asks.
  void showSessionState();
  // The operator's login from the login dialog: the status text emptied, the login sent (the
  // session empties the form for the fresh read) and the first page shown.
  void logIn(const QString& id, const QString& password);
  // The login dialog was cancelled: a login not answered yet is given up.
  void giveUpLogin();

  // What the operator changed since the gateway was read (window/change_tracker.h).
  const ChangeTracker& changes() const { return *changes_; }
  // With unsaved changes, asks once whether to save them first (Save, Discard or Cancel; without
  // a link only Discard or Cancel). A Save that does not end stored counts as Cancel.
  enum class Unsaved { None, Settled, Cancelled };
  Unsaved settleUnsavedChanges();

  // Appends one line of the device's status text to M_State_Info.
  void appendStatusLine(const QString& line);

  // The option interplay of the pages runs in the model (model/option_handlers.cpp); the grid
  // is drawn here.
  void SG_VoIP_Phone_numberDrawCell(QPainter& painter, int ACol, int ARow, const QRect& Rect,
                                    StringGrid::DrawState State);

  // Dotted-address entry.
  QString Get_GW_IP(const QString& address, int count);
  void ED_Static_IP_addressExit();

  // Language file.
  void Language_Convert();
  static int get_Configuration_Equals(const QString& line);
  // The content written when "language.cfg" is missing: every key with its default text.
  static QByteArray defaultLanguageFile();
  // The folder of "language.cfg", made when missing; empty (the default) for the current
  // directory.
  void setLanguageFolder(const QString& folder) { languageFolder_ = folder; }

 signals:
  // A Save ended: `stored` when the gateway confirmed it (read back when that is on).
  void saveEnded(bool stored);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void connectHandlers();
  void setupConfigurationMenu();
  // The status line: what the tool is doing now.
  void showActivity();
  // Each button of the bar gets a mnemonic its caption (from the language file) allows.
  void setMnemonics();
  // After a Save that did not end whole: offers to write back the configuration as read.
  void offerRollback();
  void rollbackEnded(bool held);
  void setupTimers();
  void enableTimer(QTimer* timer, int interval);
  void connectSession();
  // While the chain reads, the window is painted a few times a second instead of after every
  // reply (see session_view.cpp).
  void holdPainting(bool hold);
  // A Save check that failed: its page shown, the focus on its field, its message.
  void showSaveCheck(const SaveCheckResult& check);
  // The gateway confirmed a Save (with its diagnostics): read back and compared, then told.
  void saveConfirmed(const QStringList& diagnostics);
  void verifySave();
  // The end of a Save: "Save was complete" only when nothing is left to say.
  void showSaveDone(const QStringList& diagnostics, const QStringList& notHeld);
  // The link went away by itself: said, and nothing half-read or stale shown as real.
  void showLinkLost(SessionState during, bool reported);
  void showSaveResult(const QString& text, const QString& caption, QMessageBox::Icon icon);
  void sendStatusRequest();
  void clearStatusMemo();
  void paintGridBackground(bool enabled);
  // The title names the gateway read (model and address or port) and the unsaved changes.
  void showTitle();
  // The review: true when the operator saves (or there is nothing to review).
  bool confirmSave();
  // The configuration as read, kept before the write: false (and told) when it cannot be.
  bool backUpBeforeSave();

  // The form's controls; others find them by objectName.
  std::unique_ptr<Ui::TF_ez_config_main> ui_;
  TF_Connection* connection_ = nullptr;
  TF_Debug* debug_ = nullptr;
  TF_Login* login_ = nullptr;
  QShortcut* debugShortcut_ = nullptr;
  bool shown_ = false;
  // The status memo holds at least one line (possibly empty); set while we edit it ourselves.
  bool memoHasLines_ = false;
  bool memoEditing_ = false;
  QString languageFolder_;
  ModelMirror* mirror_ = nullptr;
  ChangeTracker* changes_ = nullptr;
  // A confirmed Save being read back: what it wrote and what the gateway said to it.
  struct SavedToVerify {
    GatewayConfiguration written;
    QStringList diagnostics;
    // The write was a rollback to the configuration held before a Save.
    bool rollback = false;
  };
  std::optional<SavedToVerify> savedToVerify_;
  // What the gateway held when the last Save began.
  std::optional<GatewayConfiguration> heldBeforeSave_;
  // A rollback under way: the operator's edits, put back into the form once it ends.
  std::optional<GatewayConfiguration> rollbackEdits_;
  // The backup kept before the last Save.
  QString lastBackup_;
  // The read chain's step and how many there are, for the status line.
  int readStep_ = 0;
  int readSteps_ = 0;
  // The last link went away by itself.
  bool linkLost_ = false;
  QString baseTitle_;
  QTimer* paintTick_ = nullptr;
  bool paintHeld_ = false;
  // The page shown and the one before it, to go back when a page may not be opened yet.
  QWidget* currentPage_ = nullptr;
  QWidget* previousPage_ = nullptr;
};
