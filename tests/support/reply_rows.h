#pragma once
// Replies read into the form, the same on the window (through the link) and on the model (through
// the reply rules), tests/configuration/tst_read_rules.cpp: one table, two faces. Columns:
//   lines  what the device sends, echoes and tags included
//   shown  "ObjectName=value" for each field the reply decides: the text, an address without its
//          blanks, 1 or 0 for a box or a button, the item index of a group;
//          "ObjectName.enabled=value" for whether the field can be edited
//   next   the query the window sends once the reply ends (empty: not looked at)
#include <QString>
#include <QStringList>
#include <QTest>

inline QStringList replyLines(const QString& echo, const QStringList& lines) {
  return QStringList{echo, QStringLiteral("!START-TAG!")} + lines +
         QStringList{QStringLiteral("!END-TAG!")};
}

inline void addReplyRows() {
  QTest::addColumn<QStringList>("lines");
  QTest::addColumn<QStringList>("shown");
  QTest::addColumn<QString>("next");
  const QStringList pstnAllUp = {"get-pstn", "modem keep-active"};
  const QStringList pstnAccount =
      pstnAllUp + QStringList{"ppp pap sent-username pstnuser password pstnpw"};

  QTest::newRow("WAN serving the local PC by DHCP")
      << pstnAllUp + replyLines("get-wan", {"no ip address", "ip dhcp-group 0"})
      << QStringList{"CB_Local_PC=1", "RB_PSTN_DHCP=1", "RG_Network_type=1"} << QString();
  // The client body has no server role: the Ethernet port is the WAN side and its own account
  // must survive the end of the reply.
  QTest::newRow("WAN PPPoE client keeps its account")
      << pstnAccount +
             replyLines("get-wan",
                        {"no ip address", "encapsulation pppoe", "ppp authentication pap callin",
                         "ppp echo interval 20", "ppp pap sent-username wanuser password wanpw"})
      << QStringList{"CB_Local_PC=0", "RG_Network_type=0", "ED_PPPoE_ID=wanuser",
                     "ED_PPPoE_Password=wanpw", "RG_Network_type.enabled=1"}
      << QString();
  QTest::newRow("WAN PPPoE server serves the local PC")
      << pstnAccount +
             replyLines("get-wan",
                        {"no ip address", "encapsulation pppoe", "ppp authentication pap callin",
                         "ppp pap sent-username pstnuser password pstnpw", "ppp echo interval 20",
                         "ppp ipcp ms-dns", "ppp ipcp default-route", "ppp role server"})
      << QStringList{"CB_Local_PC=1",     "RB_PSTN_PPPoE=1",           "RB_All_up=1",
                     "RG_Network_type=0", "RG_Network_type.enabled=0", "ED_PPPoE_ID=pstnuser"}
      << QString();
  QTest::newRow("automatic upgrade")
      << replyLines(
             "get-auto-upgrade",
             {"auto-upgrade  authentication login upid password uppw", "auto-upgrade  auto-reboot",
              "auto-upgrade  url  http://up.example/fw", "auto-upgrade  action auto"})
      << QStringList{"ED_auto_upgrade_ID=upid",
                     "ED_auto_upgrade_password=uppw",
                     "CK_upgrade_complete_restart=1",
                     "ED_server_URL=http://up.example/fw",
                     "CK_auto_upgrade=1",
                     "ED_server_URL.enabled=1",
                     "ED_auto_upgrade_ID.enabled=1",
                     "ED_auto_upgrade_password.enabled=1",
                     "L_server_url.enabled=1",
                     "L_auto_ID.enabled=1",
                     "L_auto_password.enabled=1"}
      << QStringLiteral("get-service");
}

// "ObjectName" and "enabled" (or an empty property) of one entry of `shown`, and its value.
struct ShownEntry {
  QString name;
  QString property;
  QString value;
};

inline ShownEntry shownEntry(const QString& entry) {
  const int equals = int(entry.indexOf(QLatin1Char('=')));
  const QString key = entry.left(equals);
  const int dot = int(key.indexOf(QLatin1Char('.')));
  return {dot < 0 ? key : key.left(dot), dot < 0 ? QString() : key.mid(dot + 1),
          entry.mid(equals + 1)};
}
