// The operator's edits against gateway-sim: the title counts them and the fields are marked, an
// action that would lose them asks once (Save, Discard or Cancel), Save shows a review of what it
// writes and keeps the configuration as read in a backup first.
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "controls.h"
#include "model/configuration_json.h"
#include "tool_driver.h"
#include "widgets/application.h"
#include "widgets/message_box.h"
#include "window/U_ez_config_main.h"
#include "window/U_review.h"
#include "window/backup_store.h"
#include "window/change_tracker.h"

class TstWindowChanges : public QObject {
  Q_OBJECT
  ToolDriver tool;

  TF_ez_config_main* m() const { return tool.main(); }
  QString target() const { return m()->session.target(); }

  bool readSample() {
    tool.resetSimState();
    return tool.startSim() && tool.connectTcp() && tool.loginAndRead();
  }

 private slots:
  void initTestCase() { QVERIFY2(tool.setUp(), qPrintable(tool.failure())); }
  void cleanup() {
    TF_ez_config_main::setReviewBeforeSave(false);
    tool.tearDownTest();
  }

  // An edit is counted in the title and marked; putting the value back undoes both.
  void editsAreCountedAndMarked() {
    QVERIFY2(readSample(), qPrintable(tool.failure()));
    QVERIFY(m()->windowTitle().contains(QStringLiteral("ZQ520-4S at ") + target()));
    QVERIFY(!m()->windowTitle().contains("unsaved"));
    QVERIFY2(tool.typeText("ED_PSTN_dialing", "0999"), qPrintable(tool.failure()));
    QTRY_VERIFY2(m()->windowTitle().endsWith(" - 1 unsaved change"),
                 qPrintable(m()->windowTitle()));
    QVERIFY(control<QLineEdit>(m(), "ED_PSTN_dialing")->font().bold());
    QVERIFY(control<QLineEdit>(m(), "ED_PSTN_dialing")->toolTip().contains("\"0800123456\""));
    QVERIFY2(tool.typeText("ED_PSTN_dialing", "0800123456"), qPrintable(tool.failure()));
    QTRY_VERIFY(!m()->windowTitle().contains("unsaved"));
    QVERIFY(!control<QLineEdit>(m(), "ED_PSTN_dialing")->font().bold());
  }

  // Disconnect with an edit: one question; Cancel keeps the link, Discard ends it without the
  // usual question, Save writes first.
  void disconnectAsksOnce_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("disconnected");
    QTest::addColumn<bool>("stored");
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << false << false;
    QTest::newRow("discard") << int(QMessageBox::Discard) << true << false;
    QTest::newRow("save") << int(QMessageBox::Save) << true << true;
  }
  void disconnectAsksOnce() {
    QFETCH(int, answer);
    QFETCH(bool, disconnected);
    QFETCH(bool, stored);
    QVERIFY2(readSample(), qPrintable(tool.failure()));
    QVERIFY2(tool.typeText("ED_PSTN_dialing", "0999"), qPrintable(tool.failure()));
    tool.boxes.clear();
    tool.answers = {QMessageBox::StandardButton(answer)};
    QVERIFY2(tool.click(control<QPushButton>(m(), "BB_Disconnect")), qPrintable(tool.failure()));
    QTRY_COMPARE(control<QPushButton>(m(), "BB_Connect")->isVisible(), disconnected);
    QCOMPARE(tool.boxes.first().buttons,
             QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    QVERIFY(tool.boxes.first().text.contains("1 unsaved change"));
    // Saved: the box that says so, and nothing else asked.
    QCOMPARE(tool.boxes.size(), stored ? 2 : 1);
    QCOMPARE(tool.sim.readState().contains("atdt0999"), stored);
  }

  // Save shows the review: going back writes nothing; saving keeps a backup of the
  // configuration as read, writes, and the review's rows say what changed.
  void reviewAndBackup() {
    QVERIFY2(readSample(), qPrintable(tool.failure()));
    TF_ez_config_main::setReviewBeforeSave(true);
    QVERIFY2(tool.typeText("ED_PSTN_dialing", "0999"), qPrintable(tool.failure()));
    QVERIFY2(tool.typeText("ED_PSTN_password", "n3w"), qPrintable(tool.failure()));
    const QByteArray before = tool.sim.readState();
    const QStringList backupsBefore = backupsOf(target());

    QStringList rows;
    bool save = false;
    auto answerReview = [&] {
      auto* review = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!review || review->objectName() != "TF_Review") return;
      auto* table = review->findChild<QTableWidget*>("TW_Changes");
      for (int r = 0; table && r < table->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < 4; ++c) cells << table->item(r, c)->text();
        rows << cells.join('|');
      }
      review->findChild<QPushButton*>(save ? "BB_Review_Save" : "BB_Review_Cancel")->click();
    };
    QTimer::singleShot(0, this, answerReview);
    m()->BB_SaveClick();
    QCOMPARE(rows, (QStringList{"PSTN|PSTN Password|***|***", "PSTN|Dialing|0800123456|0999"}));
    QCOMPARE(tool.sim.readState(), before);
    QCOMPARE(backupsOf(target()), backupsBefore);

    rows.clear();
    save = true;
    QTimer::singleShot(0, this, answerReview);
    QVERIFY2(tool.save(), qPrintable(tool.failure()));
    QVERIFY(tool.sim.readState().contains("atdt0999"));
    const QStringList backups = backupsOf(target());
    QCOMPARE(backups.size(), backupsBefore.size() + 1);
    QFile backup(backups.first());
    QCOMPARE(backup.permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther),
             QFileDevice::Permissions());
    QVERIFY(backup.open(QIODevice::ReadOnly));
    const QByteArray text = backup.readAll();
    QVERIFY(text.contains("\"dialing\": \"0800123456\""));
    QVERIFY(!m()->windowTitle().contains("unsaved"));
  }

  // Nothing changed: Save says so and writes again only when asked to.
  void saveWithoutChangesAsks() {
    QVERIFY2(readSample(), qPrintable(tool.failure()));
    TF_ez_config_main::setReviewBeforeSave(true);
    tool.boxes.clear();
    tool.answers = {QMessageBox::No};
    const QStringList sent = tool.sentTexts();
    m()->BB_SaveClick();
    QCOMPARE(tool.boxes.size(), 1);
    QVERIFY(tool.boxes[0].text.startsWith("Nothing has changed"));
    QVERIFY(!tool.sentTexts().mid(sent.size()).contains("write-system\r"));
  }

  // A second read of the same gateway shows what the first one did, down to the greyed choices.
  void aSecondReadShowsWhatTheFirstDid() {
    QVERIFY2(readSample(), qPrintable(tool.failure()));
    const bool dhcp = control<RadioButton>(m(), "RB_PSTN_DHCP")->isChecked();
    QVERIFY(dhcp);  // all-up without a local PC: as a fresh window shows it
    QVERIFY2(tool.disconnect(), qPrintable(tool.failure()));
    QVERIFY2(tool.connectTcp() && tool.loginAndRead(), qPrintable(tool.failure()));
    QCOMPARE(control<RadioButton>(m(), "RB_PSTN_DHCP")->isChecked(), dhcp);
    QCOMPARE(control<RadioButton>(m(), "RB_PSTN_PPPoE")->isChecked(), !dhcp);
  }

  // The form to a file and back: passwords only when asked for, a file applied through the
  // checks and marked, a bad one refused by name, a backup restored; nothing sent before Save.
  void exportImportAndRestore() {
    QVERIFY2(readSample(), qPrintable(tool.failure()));
    QTemporaryDir dir;
    QStringList chosen;  // the file each question is answered with, in turn
    QList<FileRequest> asked;
    setFileInterceptor([&](const FileRequest& request) {
      asked << request;
      return chosen.isEmpty() ? QString() : chosen.takeFirst();
    });
    const auto noFiles = qScopeGuard([] { setFileInterceptor({}); });
    const QString plain = dir.filePath("plain.json");
    const QString secret = dir.filePath("secret.json");
    const auto read = [](const QString& path) {
      QFile f(path);
      return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };

    QVERIFY2(tool.typeText("ED_PSTN_dialing", "0999"), qPrintable(tool.failure()));
    tool.answers = {QMessageBox::No};
    chosen = {plain};
    m()->export1->trigger();
    tool.answers = {QMessageBox::Yes};
    chosen = {secret};
    m()->export1->trigger();
    QVERIFY(!asked.first().open);
    QVERIFY(read(plain).contains("\"dialing\": \"0999\""));
    QVERIFY(!read(plain).contains("pstnpass"));
    QVERIFY(!read(plain).contains("password"));
    QVERIFY(read(secret).contains("\"password\": \"pstnpass\""));
    QCOMPARE(QFile(secret).permissions() & (QFile::ReadGroup | QFile::ReadOther),
             QFileDevice::Permissions());

    // Import, reached from the keyboard: the bar's menu by its mnemonic, the entry by its own.
    QVERIFY2(tool.typeText("ED_PSTN_dialing", "0800123456"), qPrintable(tool.failure()));
    QTRY_COMPARE(m()->changes().count(), 0);
    const QStringList sent = tool.sentTexts();
    chosen = {plain};
    QTimer menuOpen;
    connect(&menuOpen, &QTimer::timeout, this, [&menuOpen] {
      if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        menuOpen.stop();
        QTest::keyClick(menu, Qt::Key_I);
      }
    });
    menuOpen.start(20);
    m()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m()));
    QTest::keyClick(m(), Qt::Key_O, Qt::AltModifier);
    QTRY_COMPARE(tool.value("ED_PSTN_dialing"), QString("0999"));
    QVERIFY(asked.last().open);
    QTRY_COMPARE(m()->changes().count(), 1);
    QCOMPARE(control<QLineEdit>(m(), "ED_PSTN_password")->text(),
             QString("pstnpass"));  // the file left it out
    QCOMPARE(tool.sentTexts(), sent);

    // A file the checks refuse changes nothing and names what is wrong.
    QFile bad(dir.filePath("bad.json"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(
        R"({"format": 1, "pstn": {"dialing": "0777"}, "lan": {"fixed": {"router": "1.2.3"}}})");
    bad.close();
    tool.boxes.clear();
    QVERIFY(!m()->applyConfigurationFile(bad.fileName()));
    QCOMPARE(tool.boxes.size(), 1);
    QVERIFY2(tool.boxes[0].text.contains("lan.fixed.router"), qPrintable(tool.boxes[0].text));
    QCOMPARE(tool.value("ED_PSTN_dialing"), QString("0999"));

    // Saved, then the backup of what was read before goes back into the form.
    QVERIFY2(tool.save(), qPrintable(tool.failure()));
    QCOMPARE(m()->changes().count(), 0);
    chosen = {backupsOf(target()).first()};
    m()->restore1->trigger();
    QCOMPARE(asked.last().suggestedPath, backupsOf(target()).first());
    QCOMPARE(tool.value("ED_PSTN_dialing"), QString("0800123456"));
    QTRY_COMPARE(m()->changes().count(), 1);
    QVERIFY(tool.sim.readState().contains("atdt0999"));
  }

  // The status line follows the work: each step of the read, the write, the read back, the
  // restart; the debug log shows the replies with their passwords hidden.
  void statusLineAndReplies() {
    TF_ez_config_main::setVerifyAfterSave(true);
    QStringList seen;
    const auto note = [&] {
      const QString text = control<QLabel>(m(), "L_Activity")->text();
      if (seen.isEmpty() || seen.last() != text) seen << text;
    };
    const QMetaObject::Connection c1 =
        connect(&m()->session, &GatewaySession::readProgress, this, note);
    const QMetaObject::Connection c2 =
        connect(&m()->session, &GatewaySession::stateChanged, this, note);
    QVERIFY2(readSample(), qPrintable(tool.failure()));
    QVERIFY2(tool.typeText("ED_PSTN_dialing", "0999"), qPrintable(tool.failure()));
    QVERIFY2(tool.save(), qPrintable(tool.failure()));
    QVERIFY2(tool.restart(), qPrintable(tool.failure()));
    disconnect(c1);
    disconnect(c2);
    QStringList expected;
    for (int i = 1; i <= 9; ++i) expected << QStringLiteral("Reading %1 of 9").arg(i);
    // Between the confirmation and the read back the session is ready for a moment.
    expected << "Ready: " + target() << "Writing"
             << "Ready: " + target();
    for (int i = 1; i <= 9; ++i) expected << QStringLiteral("Reading back %1 of 9").arg(i);
    expected << "Ready: " + target() << "Restarting the gateway";
    const qsizetype from = seen.indexOf("Reading 1 of 9");
    QVERIFY2(from >= 0, qPrintable(seen.join(" | ")));
    QCOMPARE(seen.mid(from).join(" | "), expected.join(" | "));

    const QStringList log = tool.debugLog();
    QVERIFY(log.contains("Recv_Message : modem script dialer atdt0800123456"));
    QVERIFY(log.contains("Recv_Message : ppp pap sent-username pstnuser password ***"));
    for (const QString& line : log) QVERIFY2(!line.contains("pstnpass"), qPrintable(line));
    QVERIFY2(tool.waitRestartOver(), qPrintable(tool.failure()));
  }

  // The store keeps the latest backups of each gateway.
  void backupsAreLimited() {
    const QString gateway = QStringLiteral("limit-test");
    QDir(backupFolder(gateway)).removeRecursively();
    QString error;
    for (int i = 0; i < kBackupsPerGateway + 5; ++i)
      QVERIFY2(!storeBackup(gateway, QByteArray::number(i), &error).isEmpty(), qPrintable(error));
    const QStringList kept = backupsOf(gateway);
    QCOMPARE(kept.size(), kBackupsPerGateway);
    QFile newest(kept.first());
    QVERIFY(newest.open(QIODevice::ReadOnly));
    QCOMPARE(newest.readAll(), QByteArray::number(kBackupsPerGateway + 4));
  }
};

int main(int argc, char** argv) {
  Application app(argc, argv);
  TstWindowChanges test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_window_changes.moc"
