// Renders the main window's pages and the three secondary windows to PNG files.
#include <QDir>
#include <QMenu>
#include <QPixmap>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include "controls.h"
#include "widgets/application.h"
#include "widgets/message_box.h"
#include "window/U_connection.h"
#include "window/U_debug.h"
#include "window/U_ez_config_main.h"
#include "window/U_login.h"
#include "window/U_review.h"
#include "window/app_start.h"

namespace {
QString outDir;

void save(QWidget* widget, const QString& name) {
  QApplication::processEvents();
  const QString path = QDir(outDir).filePath(name + QStringLiteral(".png"));
  if (!widget->grab().save(path)) {
    QTextStream(stderr) << "cannot write " << path << "\n";
    std::exit(1);
  }
  QTextStream(stdout) << path << "\n";
}

template <typename T>
T* window() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* t = qobject_cast<T*>(w)) return t;
  return nullptr;
}
}  // namespace

int main(int argc, char** argv) {
  Application app(argc, argv);
  if (argc < 2) {
    QTextStream(stderr) << "usage: ezconfig-screenshots <output directory>\n";
    return 2;
  }
  outDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
  QDir().mkpath(outDir);
  // The language file goes to the current directory: keep it out of the way.
  QTemporaryDir work;
  QDir::setCurrent(work.path());
  setMessageBoxInterceptor([](const MessageBoxRequest&) { return QMessageBox::Ok; });

  QStandardPaths::setTestModeEnabled(true);
  TF_ez_config_main::setReviewBeforeSave(false);
  TF_ez_config_main::setVerifyAfterSave(false);
  createAppWindows();
  auto* main = window<TF_ez_config_main>();
  auto* connection = window<TF_Connection>();
  auto* login = window<TF_Login>();
  auto* debug = window<TF_Debug>();
  if (!main || !connection || !login || !debug) return 1;

  save(main, QStringLiteral("main-start"));

  // The pages as they look once a gateway has been read: the cover is gone, the bar and the
  // status line as they are with a gateway ready.
  control<QFrame>(main, "P_main")->hide();
  control<QPushButton>(main, "BB_Connect")->hide();
  control<QPushButton>(main, "BB_Disconnect")->show();
  control<QPushButton>(main, "BB_File")->setEnabled(true);
  control<QPushButton>(main, "BB_Save")->setEnabled(true);
  control<QPushButton>(main, "BB_Restart")->setEnabled(true);
  control<QLabel>(main, "L_Activity")->setText(QStringLiteral("Ready: 192.0.2.20:5140"));
  // Accounts as a read fills them: the password fields show their "*".
  control<QLineEdit>(main, "ED_PSTN_login")->setText(QStringLiteral("isp-user"));
  control<QLineEdit>(main, "ED_PSTN_password")->setText(QStringLiteral("secret"));
  control<QLineEdit>(main, "ED_PSTN_dialing")->setText(QStringLiteral("0123456"));
  control<QLineEdit>(main, "ED_PPPoE_ID")->setText(QStringLiteral("lan-user"));
  control<QLineEdit>(main, "ED_PPPoE_Password")->setText(QStringLiteral("secret"));
  control<QLineEdit>(main, "ED_H323_ID")->setText(QStringLiteral("gw-1001"));
  control<QLineEdit>(main, "ED_GK_password")->setText(QStringLiteral("secret"));
  control<QLineEdit>(main, "ED_SIP_Username")->setText(QStringLiteral("1001"));
  control<QLineEdit>(main, "ED_SIP_password")->setText(QStringLiteral("secret"));
  control<StringGrid>(main, "SG_VoIP_Phone_number")->setRowCount(4);
  const QStringList cells = {"0/0", "FXS", "1001", "0/1", "FXS", "1002", "1/0", "FXO", ""};
  for (int i = 0; i < cells.size(); ++i)
    control<StringGrid>(main, "SG_VoIP_Phone_number")->setCell(i % 3, 1 + i / 3, cells.at(i));
  const struct {
    QWidget* page;
    const char* name;
  } pages[] = {{control<QWidget>(main, "Tab_PSTN"), "main-pstn"},
               {control<QWidget>(main, "Tab_LAN"), "main-lan"},
               {control<QWidget>(main, "Tab_PC"), "main-pc"},
               {control<QWidget>(main, "Tab_VoIP"), "main-voip"},
               {control<QWidget>(main, "Tab_Service"), "main-service"},
               {control<QWidget>(main, "Tab_Auto_upgrade"), "main-auto-upgrade"},
               {control<QWidget>(main, "Tab_Status_information"), "main-status"},
               {control<QWidget>(main, "Tab_About"), "main-about"}};
  main->appendStatusLine(QStringLiteral("ether0.0 is up, address 192.0.2.20/24"));
  main->appendStatusLine(QStringLiteral("async0 is down"));
  main->appendStatusLine(QStringLiteral("gatekeeper 192.0.2.1 registered"));
  for (const auto& page : pages) {
    // The PC page is never offered to the operator; its tab is shown for the picture only.
    control<PageControl>(main, "PageControl1")
        ->setPageTabHidden(control<QWidget>(main, "Tab_PC"),
                           page.page != control<QWidget>(main, "Tab_PC"));
    control<PageControl>(main, "PageControl1")->setActivePage(page.page);
    save(main, QString::fromLatin1(page.name));
  }

  // The other groups of the LAN and VoIP pages.
  control<PageControl>(main, "PageControl1")->setActivePage(control<QWidget>(main, "Tab_LAN"));
  control<RadioGroup>(main, "RG_Network_type")->setItemIndex(2);
  save(main, QStringLiteral("main-lan-fixed"));
  control<RadioGroup>(main, "RG_Network_type")->setItemIndex(1);
  save(main, QStringLiteral("main-lan-dhcp"));
  control<PageControl>(main, "PageControl1")->setActivePage(control<QWidget>(main, "Tab_VoIP"));
  control<RadioGroup>(main, "RG_Protocol")->setItemIndex(1);
  save(main, QStringLiteral("main-voip-sip"));
  control<RadioGroup>(main, "RG_Protocol")->setItemIndex(2);
  save(main, QStringLiteral("main-voip-mgcp"));
  control<RadioGroup>(main, "RG_Protocol")->setItemIndex(0);
  control<QGroupBox>(main, "GB_Area_Number")->show();
  save(main, QStringLiteral("main-voip-h323-area"));
  control<QGroupBox>(main, "GB_Area_Number")->hide();

  // More ports than the grid shows at once, scrolled to the last: the header row stays on top.
  StringGrid* grid = control<StringGrid>(main, "SG_VoIP_Phone_number");
  grid->setRowCount(9);
  for (int port = 1; port <= 8; ++port) {
    grid->setCell(0, port, QStringLiteral("%1/%2").arg((port - 1) / 4).arg((port - 1) % 4));
    grid->setCell(1, port, QStringLiteral("FXS"));
    grid->setCell(2, port, QString::number(1000 + port));
  }
  QApplication::processEvents();
  grid->scrollToBottom();
  save(main, QStringLiteral("main-voip-ports"));
  grid->scrollToTop();

  // The configuration menu of the bar, and the review of a Save.
  control<PageControl>(main, "PageControl1")->setActivePage(control<QWidget>(main, "Tab_PSTN"));
  main->ConfigMenu->popup(
      control<QPushButton>(main, "BB_File")
          ->mapToGlobal(QPoint(0, control<QPushButton>(main, "BB_File")->height())));
  save(main->ConfigMenu, QStringLiteral("main-config-menu"));
  main->ConfigMenu->hide();
  ReviewRequest request;
  request.rows = {{"PSTN", "Dialing", "0123456", "0987654"},
                  {"PSTN", "PSTN Password", "***", "***"},
                  {"VoIP", "Phone number of port 0/1", "1002", "(none)"}};
  request.warnings = {"Phone number: the gateway keeps its number 1002 when the field is empty"};
  TF_Review review(request, main);
  review.show();
  save(&review, QStringLiteral("review"));
  review.hide();

  // The restart wait: cover with the gauge strip.
  control<QPushButton>(main, "BB_File")->setEnabled(false);
  control<QPushButton>(main, "BB_Save")->setEnabled(false);
  control<QPushButton>(main, "BB_Restart")->setEnabled(false);
  control<QLabel>(main, "L_Activity")->setText(QStringLiteral("Restarting the gateway"));
  control<QFrame>(main, "P_main")->show();
  control<QFrame>(main, "P_State")->show();
  control<QProgressBar>(main, "Gauge1")->setValue(42);
  save(main, QStringLiteral("main-restart-wait"));

  connection->show();
  save(connection, QStringLiteral("connection"));
  connection->hide();
  login->show();
  save(login, QStringLiteral("login"));
  login->hide();
  DebugLog& log = main->session.debugLog();
  log.append(QStringLiteral("Connected..."));
  log.append(QStringLiteral("Send_Message : start-login admin ***\r"));
  log.append(QStringLiteral("Recv_Message : start-login admin ***"));
  log.append(QStringLiteral("Recv_Message : Login ok"));
  log.append(QStringLiteral("Login OK!!"));
  log.append(QStringLiteral("Send_Message : get-model\r"));
  log.append(QStringLiteral("Recv_Message : get-model"));
  log.append(QStringLiteral("Recv_Message : model ZQ520-4S"));
  log.append(QStringLiteral("Recv_Message : !END-TAG!"));
  debug->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("get-wan"));
  debug->show();
  save(debug, QStringLiteral("debug"));
  return 0;
}
