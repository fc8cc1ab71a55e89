#pragma once
// Configuration files that must be refused before anything is sent, each with the start of the
// message that names the member at fault. Shared by the file-format test (the validator and the
// JSON schema must agree) and the command line's test (exit code 2, nothing sent).
#include <QByteArray>
#include <QList>

struct BadConfigCase {
  const char* name;
  QByteArray json;
  // The message line that names the fault starts with this.
  const char* message;
  // The JSON schema can tell too (not for text that is no JSON, nor for a port listed twice).
  bool schemaTells = true;
};

inline QList<BadConfigCase> badConfigCases() {
  auto file = [](const char* body) { return QByteArray("{\"format\": 1, ") + body + "}"; };
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
  };
}
