#pragma once
// The rows the read-and-write cases walk on the model and on the window
// (tests/configuration/tst_read_write.cpp): one table, two faces.
#include <QList>
#include <QPair>
#include <QTest>

#include "net_mode.h"
#include "voip_choice.h"

// Every operating mode with every VoIP protocol: columns mode and voip (as int).
inline void addModeAndProtocolRows() {
  QTest::addColumn<int>("mode");
  QTest::addColumn<int>("voip");
  const QList<QPair<const char*, NetMode>> modes = {
      {"local PC, all-up, PSTN DHCP", NetMode::LocalAllUpDhcp},
      {"local PC, all-up, PSTN PPPoE", NetMode::LocalAllUpPppoe},
      {"local PC, dial-up", NetMode::LocalDialUp},
      {"no local PC, PPPoE", NetMode::WanPppoe},
      {"no local PC, DHCP", NetMode::WanDhcp},
      {"no local PC, fixed address", NetMode::WanFixed}};
  const QList<QPair<const char*, Voip>> protocols = {
      {"H323 plain", Voip::H323Plain},
      {"H323 full", Voip::H323Full},
      {"H323 secondary gatekeeper", Voip::H323SecondaryOnly},
      {"SIP", Voip::Sip},
      {"SIP minimal", Voip::SipMinimal},
      {"MGCP", Voip::Mgcp}};
  for (const auto& mode : modes) {
    for (const auto& protocol : protocols) {
      QTest::addRow("%s / %s", mode.first, protocol.first)
          << int(mode.second) << int(protocol.second);
    }
  }
}

// Two devices read one after the other: columns firstMode, firstVoip, secondMode, secondVoip.
inline void addSecondDeviceRows() {
  QTest::addColumn<int>("firstMode");
  QTest::addColumn<int>("firstVoip");
  QTest::addColumn<int>("secondMode");
  QTest::addColumn<int>("secondVoip");
  QTest::newRow("PPPoE server, then PPPoE client")
      << int(NetMode::LocalAllUpPppoe) << int(Voip::Sip) << int(NetMode::WanPppoe)
      << int(Voip::H323Plain);
  QTest::newRow("PPPoE client, then PPPoE server")
      << int(NetMode::WanPppoe) << int(Voip::H323Plain) << int(NetMode::LocalAllUpPppoe)
      << int(Voip::H323Full);
  QTest::newRow("local PC by DHCP, then WAN by DHCP")
      << int(NetMode::LocalAllUpDhcp) << int(Voip::Mgcp) << int(NetMode::WanDhcp)
      << int(Voip::H323SecondaryOnly);
  QTest::newRow("local PC dial-up, then fixed address")
      << int(NetMode::LocalDialUp) << int(Voip::SipMinimal) << int(NetMode::WanFixed)
      << int(Voip::H323Plain);
  QTest::newRow("PPPoE server, then local PC by DHCP")
      << int(NetMode::LocalAllUpPppoe) << int(Voip::H323Plain) << int(NetMode::LocalAllUpDhcp)
      << int(Voip::Sip);
}
