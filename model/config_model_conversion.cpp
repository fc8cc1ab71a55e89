// The model's fields to and from the configuration they stand for.
#include "link/text_utils.h"
#include "model/address_text.h"
#include "model/config_model.h"
#include "model/configuration_members.h"

namespace {

using C = GatewayConfiguration;
using Kind = ConfigMember::Kind;

constexpr int kPortColumn = 0;
constexpr int kTypeColumn = 1;
constexpr int kNumberColumn = 2;

// The special members: the operating mode and the two choices are set from the radios and
// groups by hand; the rest go by the member's field.
bool isChoiceField(const ConfigMember& member) {
  return member.kind == Kind::Choice || member.field == QLatin1String("CB_Local_PC");
}

QString addressValue(const AddressField& field) {
  if (field.hasHiddenOriginal()) return field.original();
  // The control shows "   .   .   .   " when empty: the configuration holds "" for it.
  const QString compact = Trim_Blank(field.text());
  return compact == QLatin1String("...") ? QString() : compact;
}

void setAddress(AddressField& field, const QString& text) {
  // A text the mask cannot show comes from a gateway (a host name) and is kept as the gateway's.
  if (text.isEmpty() || fitsAddressMask(text)) {
    field.setText(text);
  } else {
    field.setDeviceText(text);
  }
}

}  // namespace

GatewayConfiguration ConfigModel::configuration() const {
  C c;
  c.model = L_model.text();
  c.version = L_version.text();
  c.mode = C::modeOf(RB_All_up.isChecked(), CB_Local_PC.isChecked(), RB_PSTN_PPPoE.isChecked());
  c.lan.type = C::LanType(RG_Network_type.itemIndex());
  c.voip.protocol = C::Protocol(RG_Protocol.itemIndex());
  for (const ConfigMember& member : configMembers()) {
    if (isChoiceField(member)) continue;
    const Field* f = field(member.field);
    if (const auto* text = dynamic_cast<const TextField*>(f)) {
      member.set(c, text->text());
    } else if (const auto* address = dynamic_cast<const AddressField*>(f)) {
      member.set(c, addressValue(*address));
    } else if (const auto* check = dynamic_cast<const CheckField*>(f)) {
      member.set(c, check->isChecked());
    }
  }
  const GridField& grid = SG_VoIP_Phone_number;
  for (int row = 1; row < grid.rowCount(); ++row) {
    // The grid keeps one empty row when the gateway has no voice port at all.
    if (grid.cell(kPortColumn, row).isEmpty() && grid.cell(kNumberColumn, row).isEmpty() &&
        !grid.isMgcpPeer(row))
      continue;
    c.voip.ports.append({grid.cell(kPortColumn, row), grid.cell(kTypeColumn, row),
                         grid.cell(kNumberColumn, row), grid.isMgcpPeer(row)});
  }
  return c;
}

void ConfigModel::apply(const GatewayConfiguration& c) {
  L_model.setText(c.model);
  L_version.setText(c.version);
  // The PSTN account first: choosing PPPoE towards the local PC copies it to the LAN account.
  ED_PSTN_login.setText(c.pstn.login);
  ED_PSTN_password.setText(c.pstn.password);
  ED_PSTN_dialing.setText(c.pstn.dialing);
  // The operating mode in the order its handlers cascade: service, how a PC is attached, the PC.
  (c.allUp() ? RB_All_up : RB_Dial_up).setChecked(true);
  (c.localPcByPppoe() ? RB_PSTN_PPPoE : RB_PSTN_DHCP).setChecked(true);
  CB_Local_PC.setChecked(c.servesLocalPc());
  // The choices that switch panels, then every value over whatever the handlers put there.
  RG_Network_type.setItemIndex(int(c.lan.type));
  RG_Protocol.setItemIndex(int(c.voip.protocol));
  CK_auto_upgrade.setChecked(c.autoUpgrade.enabled);
  for (const ConfigMember& member : configMembers()) {
    if (isChoiceField(member)) continue;
    const QJsonValue value = member.get(c);
    Field* f = field(member.field);
    if (auto* text = dynamic_cast<TextField*>(f)) {
      text->setText(member.kind == Kind::Port && !value.isNull() && !value.isString()
                        ? QString::number(value.toInt())
                        : value.toString());
    } else if (auto* address = dynamic_cast<AddressField*>(f)) {
      setAddress(*address, value.toString());
    } else if (auto* check = dynamic_cast<CheckField*>(f)) {
      check->setChecked(value.toBool());
    }
  }
  GridField& grid = SG_VoIP_Phone_number;
  // The header row, and one empty row when there is no port, as after a read.
  grid.clearMgcpPeers();
  grid.setRowCount(1);
  grid.setRowCount(qMax(2, int(c.voip.ports.size()) + 1));
  for (int i = 0; i < c.voip.ports.size(); ++i) {
    const C::VoicePort& port = c.voip.ports.at(i);
    grid.setCell(kPortColumn, i + 1, port.port);
    grid.setCell(kTypeColumn, i + 1, port.type);
    grid.setCell(kNumberColumn, i + 1, port.number);
    grid.setMgcpPeer(i + 1, port.mgcp);
  }
}

QStringList ConfigModel::deviceOwnAddresses() const {
  QStringList paths;
  for (const ConfigMember& member : configMembers()) {
    const auto* address = dynamic_cast<const AddressField*>(field(member.field));
    if (address && address->hasHiddenOriginal()) paths << member.path;
  }
  return paths;
}
