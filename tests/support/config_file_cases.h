#pragma once
// Configuration files that must be refused before anything is written, each with the start of
// the message that names the member at fault. Shared by the file-format test (the validator, the
// configuration's checks and the JSON schema must agree) and the command line's tests (exit code
// 2, nothing sent; nothing written).
#include <QByteArray>
#include <QList>

#include "model/gateway_configuration.h"

struct BadConfigCase {
  const char* name;
  QByteArray json;
  // The message line that names the fault starts with this.
  const char* message;
  // The JSON schema can tell too (not for text that is no JSON, nor for a port or number listed
  // twice, nor for what only the gateway's configuration tells).
  bool schemaTells = true;
  // Only the gateway's configuration tells (the sample configuration of gateway-sim, as read):
  // the file passes on its own and is refused once applied to it.
  bool needsGateway = false;
};

inline QList<BadConfigCase> badConfigCases() {
  auto file = [](const char* body) { return QByteArray("{\"format\": 1, ") + body + "}"; };
  auto text = [&file](const char* page, const char* member, int length, char c = 'a') {
    return file(
        (QByteArray("\"") + page + "\": {\"" + member + "\": \"" + QByteArray(length, c) + "\"}")
            .constData());
  };
  auto port = [&file](const char* entries) {
    return file((QByteArray("\"voip\": {\"ports\": [") + entries + "]}").constData());
  };
  return {
      {"truncated", "{\"format\": 1, \"pstn\": {", "malformed JSON at line 1", false},
      {"trailing comma", "{\"format\": 1,}", "malformed JSON", false},
      {"not an object", "[1, 2]", "malformed configuration"},
      {"format missing", "{\"pstn\": {}}", "format: missing"},
      {"format 2", "{\"format\": 2}", "format: this tool reads format 1 only"},
      {"format as text", "{\"format\": \"1\"}", "format: this tool reads format 1 only"},
      {"unknown page", file("\"wifi\": {}"), "wifi: unknown field"},
      {"unknown member", file("\"lan\": {\"pppoe\": {\"mtu\": 1492}}"),
       "lan.pppoe.mtu: unknown field"},
      {"h323 service switch", file("\"services\": {\"h323\": {\"enabled\": true}}"),
       "services.h323: unknown field"},
      {"flag as text", file("\"pstn\": {\"local_pc\": \"yes\"}"),
       "pstn.local_pc: must be true or false, not a string"},
      {"text as number", file("\"pstn\": {\"login\": 42}"),
       "pstn.login: must be a string, not a number"},
      {"group as text", file("\"lan\": {\"fixed\": \"10.0.0.1\"}"),
       "lan.fixed: must be an object, not a string"},
      {"model as number", file("\"model\": 520"), "model: must be a string"},
      {"choice not listed", file("\"voip\": {\"protocol\": \"skype\"}"),
       "voip.protocol: must be one of \"h323\", \"sip\", \"mgcp\""},
      {"port too high", file("\"services\": {\"http\": {\"port\": 65536}}"),
       "services.http.port: not a port number (0..65535)"},
      {"port negative", file("\"services\": {\"snmp\": {\"port\": -1}}"),
       "services.snmp.port: not a port number"},
      {"port fraction", file("\"services\": {\"ftp\": {\"port\": 21.5}}"),
       "services.ftp.port: not a port number"},
      {"port as text", file("\"services\": {\"telnet\": {\"port\": \"23\"}}"),
       "services.telnet.port: must be a port number or null, not a string"},
      {"address three groups", file("\"voip\": {\"sip\": {\"server1\": \"10.0.0\"}}"),
       "voip.sip.server1: not a dotted address"},
      {"address group above 255", file("\"lan\": {\"fixed\": {\"address\": \"256.1.1.1\"}}"),
       "lan.fixed.address: not a dotted address"},
      {"address five groups", file("\"lan\": {\"fixed\": {\"router\": \"1.2.3.4.5\"}}"),
       "lan.fixed.router: not a dotted address"},
      {"address host name", file("\"voip\": {\"h323\": {\"gatekeeper1\": \"gk.example.net\"}}"),
       "voip.h323.gatekeeper1: not a dotted address"},
      {"address with blank", file("\"lan\": {\"pppoe\": {\"dns\": \" 10.0.0.1\"}}"),
       "lan.pppoe.dns: not a dotted address"},
      {"address empty group", file("\"voip\": {\"mgcp\": {\"call_agent2\": \"10..0.1\"}}"),
       "voip.mgcp.call_agent2: not a dotted address"},
      {"blank in login", file("\"pstn\": {\"login\": \"isp user\"}"),
       "pstn.login: contains a blank"},
      {"blank in url", file("\"auto_upgrade\": {\"url\": \"http://host/a b\"}"),
       "auto_upgrade.url: contains a blank"},
      {"tab in password", file("\"voip\": {\"sip\": {\"password\": \"a\\tb\"}}"),
       "voip.sip.password: contains a blank"},
      {"blank in number",
       file("\"voip\": {\"ports\": [{\"port\": \"0/0\", \"number\": \"20 1\"}]}"),
       "voip.ports[0].number: contains a blank"},
      {"line end in dialing", file("\"pstn\": {\"dialing\": \"123\\rreboot-system\"}"),
       "pstn.dialing: contains a control character"},
      // A value that ends in a line end: a pattern anchored with "$" lets it through, and the
      // device would take the line end as the end of the command.
      {"line end after login", file("\"pstn\": {\"login\": \"isp\\n\"}"),
       "pstn.login: contains a control character"},
      {"line end after password", file("\"voip\": {\"sip\": {\"password\": \"pw\\n\"}}"),
       "voip.sip.password: contains a control character"},
      {"CR LF after url", file("\"auto_upgrade\": {\"url\": \"http://192.0.2.80/fw\\r\\n\"}"),
       "auto_upgrade.url: contains a control character"},
      {"line end after address", file("\"lan\": {\"fixed\": {\"address\": \"192.0.2.1\\n\"}}"),
       "lan.fixed.address: not a dotted address"},
      {"line end after area code", file("\"voip\": {\"h323\": {\"area_code\": \"030\\n\"}}"),
       "voip.h323.area_code: contains a control character"},
      {"line end after number", port("{\"port\": \"0/0\", \"number\": \"201\\n\"}"),
       "voip.ports[0].number: contains a control character"},
      {"line end after dialing", file("\"pstn\": {\"dialing\": \"0171\\n\"}"),
       "pstn.dialing: contains a control character"},
      {"escape in id", file("\"lan\": {\"pppoe\": {\"id\": \"a\\u001bb\"}}"),
       "lan.pppoe.id: contains a control character"},
      {"wide character", file("\"voip\": {\"h323\": {\"id\": \"gw\\u4e00\"}}"),
       "voip.h323.id: contains a character the device cannot store"},
      {"redacted pstn password", file("\"pstn\": {\"password\": \"***\"}"),
       "pstn.password: a redacted secret"},
      {"redacted pppoe password", file("\"lan\": {\"pppoe\": {\"password\": \"***\"}}"),
       "lan.pppoe.password: a redacted secret"},
      {"redacted gatekeeper password", file("\"voip\": {\"h323\": {\"password\": \"***\"}}"),
       "voip.h323.password: a redacted secret"},
      {"redacted sip password", file("\"voip\": {\"sip\": {\"password\": \"***\"}}"),
       "voip.sip.password: a redacted secret"},
      {"redacted upgrade password", file("\"auto_upgrade\": {\"password\": \"***\"}"),
       "auto_upgrade.password: a redacted secret"},
      {"ports as object", file("\"voip\": {\"ports\": {}}"), "voip.ports: must be an array"},
      {"port entry as text", file("\"voip\": {\"ports\": [\"0/0\"]}"),
       "voip.ports[0]: must be an object, not a string"},
      {"port entry unknown member",
       file("\"voip\": {\"ports\": [{\"port\": \"0/0\", \"extension\": \"9\"}]}"),
       "voip.ports[0].extension: unknown field"},
      {"port entry without port", file("\"voip\": {\"ports\": [{\"number\": \"201\"}]}"),
       "voip.ports[0].port: missing"},
      {"port listed twice",
       file("\"voip\": {\"ports\": [{\"port\": \"0/0\"}, {\"port\": \"0/0\"}]}"),
       "voip.ports[1].port: port \"0/0\" is listed twice", false},
      {"mgcp mark as text", file("\"voip\": {\"ports\": [{\"port\": \"0/0\", \"mgcp\": \"no\"}]}"),
       "voip.ports[0].mgcp: must be true or false"},

      // Lengths past the limit (the limit itself passes: see the good files).
      {"login past 63", text("pstn", "login", 64), "pstn.login: longer than 63 characters"},
      {"pstn password past 63", text("pstn", "password", 64),
       "pstn.password: longer than 63 characters"},
      {"dialing past 32", text("pstn", "dialing", 33, '7'), "pstn.dialing: longer than 32"},
      {"dialing of 5000 digits", text("pstn", "dialing", 5000, '7'), "pstn.dialing: longer than"},
      {"url past 255",
       file(("\"auto_upgrade\": {\"url\": \"http://" + QByteArray(249, 'u') + "\"}").constData()),
       "auto_upgrade.url: longer than 255 characters"},
      {"upgrade id past 63", text("auto_upgrade", "id", 64), "auto_upgrade.id: longer than 63"},
      {"area code past 8",
       file(("\"voip\": {\"h323\": {\"area_code\": \"" + QByteArray(9, '3') + "\"}}").constData()),
       "voip.h323.area_code: longer than 8 characters"},
      {"area code with a letter", file("\"voip\": {\"h323\": {\"area_code\": \"03a\"}}"),
       "voip.h323.area_code: holds digits only"},
      {"sip username past 63",
       file(("\"voip\": {\"sip\": {\"username\": \"" + QByteArray(64, 'b') + "\"}}").constData()),
       "voip.sip.username: longer than 63 characters"},
      // Phone numbers: the digits, "*" and "#" of a dial plan, each on one port.
      {"number with letters", port("{\"port\": \"0/0\", \"number\": \"abc#\"}"),
       "voip.ports[0].number: a phone number holds only the digits"},
      {"number with a plus", port("{\"port\": \"0/0\", \"number\": \"+49201\"}"),
       "voip.ports[0].number: a phone number holds only the digits"},
      {"number past 24",
       port(("{\"port\": \"0/0\", \"number\": \"" + QByteArray(25, '2') + "\"}").constData()),
       "voip.ports[0].number: longer than 24 characters"},
      {"number on two ports",
       port("{\"port\": \"0/0\", \"number\": \"201\"}, {\"port\": \"0/1\", \"number\": \"201\"}"),
       "voip.ports[1].number: the number 201 is also port 0/0's", false},
      {"router of two groups", file("\"lan\": {\"fixed\": {\"router\": \"10.1\"}}"),
       "lan.fixed.router: not a dotted address"},
      {"address 300.1.2.3", file("\"lan\": {\"fixed\": {\"address\": \"300.1.2.3\"}}"),
       "lan.fixed.address: not a dotted address"},

      // What only the gateway tells: values the result does not store, values the script cannot
      // remove, a number another port of the gateway has.
      {"sip values under h323",
       file("\"voip\": {\"sip\": {\"server1\": \"203.0.113.5\", \"username\": \"bob\"}}"),
       "voip.sip.username: not stored while voip.protocol is \"h323\"", false, true},
      {"pppoe account under a fixed address", file("\"lan\": {\"pppoe\": {\"id\": \"bob\"}}"),
       "lan.pppoe.id: not stored while lan.type is \"fixed\"", false, true},
      {"mgcp mark under h323", port("{\"port\": \"0/2\", \"mgcp\": true}"),
       "voip.ports[0].mgcp: not stored while voip.protocol is \"h323\"", false, true},
      {"cleared phone number", port("{\"port\": \"0/1\", \"number\": \"\"}"),
       "voip.ports[1].number: the gateway would keep its value \"202\"", false, true},
      {"cleared router", file("\"lan\": {\"fixed\": {\"router\": \"\"}}"),
       "lan.fixed.router: the gateway would keep its value \"192.0.2.1\"", false, true},
      {"cleared name server", file("\"lan\": {\"fixed\": {\"dns\": \"\"}}"),
       "lan.fixed.dns: the gateway would keep its value \"192.0.2.53\"", false, true},
      {"number another port has", port("{\"port\": \"0/3\", \"number\": \"201\"}"),
       "voip.ports[3].number: the number 201 is also port 0/0's", false, true},
      {"option rules change a value",
       file("\"pstn\": {\"local_pc\": true, \"local_pc_mode\": \"pppoe\", \"login\": \"isp\"},"
            " \"lan\": {\"pppoe\": {\"id\": \"other\"}}"),
       "lan.pppoe.id: the other settings change it to \"isp\"", false, true},
  };
}

// The sample configuration gateway-sim starts with, as a read gives it: all-up, a fixed address
// with router and name server, H.323, four voice ports numbered 201 to 204.
inline GatewayConfiguration sampleGatewayConfiguration() {
  GatewayConfiguration c;
  c.model = QStringLiteral("ZQ520-4S");
  c.mode = GatewayConfiguration::OperatingMode::AllUp;
  c.pstn = {QStringLiteral("pstnuser"), QStringLiteral("pstnpass"), QStringLiteral("0800123456")};
  c.lan.type = GatewayConfiguration::LanType::Fixed;
  c.lan.fixedAddress = QStringLiteral("192.0.2.10");
  c.lan.fixedNetmask = QStringLiteral("255.255.255.0");
  c.lan.fixedRouter = QStringLiteral("192.0.2.1");
  c.lan.fixedDns = QStringLiteral("192.0.2.53");
  c.voip.protocol = GatewayConfiguration::Protocol::H323;
  c.voip.h323Id = QStringLiteral("gw-sim");
  c.voip.gatekeeper1 = QStringLiteral("198.51.100.10");
  const char* types[] = {"FXS", "FXS", "FXO", "FXO"};
  for (int i = 0; i < 4; ++i) {
    c.voip.ports.append(
        {QStringLiteral("0/%1").arg(i), QLatin1String(types[i]), QString::number(201 + i), false});
  }
  return c;
}
