// Dotted-address entry: network part of an address, class-based proposal.
#include "link/text_utils.h"
#include "ui_U_ez_config_main.h"
#include "widgets/address_edit.h"
#include "window/U_ez_config_main.h"

QString TF_ez_config_main::Get_GW_IP(const QString& address, int count) {
  QString result;
  int dots = 0;
  for (const QChar c : address) {
    if (c != QLatin1Char('.')) {
      result += c;
      continue;
    }
    if (dots == count) break;
    result += c;
    ++dots;
  }
  return result;
}

namespace {
// Leading blanks skipped, then decimal digits to the end; anything else is 0.
int firstFieldValue(const QString& field) {
  int i = 0;
  while (i < field.size() && field.at(i) == QLatin1Char(' ')) ++i;
  if (i == field.size()) return 0;
  int value = 0;
  for (; i < field.size(); ++i) {
    const QChar c = field.at(i);
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return 0;
    value = value * 10 + (c.unicode() - '0');
    if (value > 100000) return value;  // far beyond every class; stops an overflow
  }
  return value;
}
}  // namespace

void TF_ez_config_main::ED_Static_IP_addressExit() {
  // Only a still empty netmask and router get a proposal.
  if (ui_->ED_Static_Netmask->text() != AddressEdit::kEmpty) return;
  if (ui_->ED_Static_router->text() != AddressEdit::kEmpty) return;
  const int v =
      firstFieldValue(NumberToken(ui_->ED_Static_IP_address->text(), QStringLiteral(".")));
  QString netmask;
  int fields = 0;
  if (v <= 127) {
    netmask = QStringLiteral("255.0.0.0");
    fields = 0;
  } else if (v <= 191) {
    netmask = QStringLiteral("255.255.0.0");
    fields = 1;
  } else if (v <= 223) {
    netmask = QStringLiteral("255.255.255.0");
    fields = 2;
  } else if (v <= 239) {
    netmask = QStringLiteral("255.255.255.255");
    fields = 3;
  } else {
    return;
  }
  ui_->ED_Static_Netmask->setText(netmask);
  ui_->ED_Static_router->setText(Get_GW_IP(ui_->ED_Static_IP_address->text(), fields));
}
