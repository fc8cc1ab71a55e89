// Option interplay of the pages: each handler runs on the operator's click and equally when code
// changes the control, so one change can cascade through several handlers.
#include <QPainter>

#include "window/U_ez_config_main.h"

void TF_ez_config_main::RG_Network_typeClick() {
  const int item = RG_Network_type->itemIndex();
  if (item < 0 || item > 2) return;
  GB_PPPoE->setVisible(item == 0);
  GB_DHCP->setVisible(item == 1);
  GB_Static_IP_address->setVisible(item == 2);
  GB_Common->setVisible(item != 0);
  RB_DHCP->setEnabled(true);
  RB_PPPoE->setEnabled(item == 0);
  RB_IP->setEnabled(item == 2);
  // Whatever the LAN type, the PC side falls back to DHCP.
  RB_DHCP->setChecked(true);
  RB_PPPoE->setChecked(false);
  RB_IP->setChecked(false);
}

void TF_ez_config_main::RB_DHCPClick() {
  RB_DHCP->setChecked(true);
  RB_PPPoE->setChecked(false);
  RB_IP->setChecked(false);
}

void TF_ez_config_main::RB_PPPoEClick() {
  RB_DHCP->setChecked(false);
  RB_PPPoE->setChecked(true);
  RB_IP->setChecked(false);
}

void TF_ez_config_main::RB_IPClick() {
  RB_DHCP->setChecked(false);
  RB_PPPoE->setChecked(false);
  RB_IP->setChecked(true);
}

void TF_ez_config_main::RB_Dial_upClick() {
  // Dial-up always serves the LAN side through PPPoE.
  RB_PSTN_PPPoE->setChecked(true);
  RB_PSTN_DHCP->setEnabled(false);
}

void TF_ez_config_main::RB_All_upClick() {
  if (CB_Local_PC->isChecked()) RB_PSTN_DHCP->setEnabled(true);
}

void TF_ez_config_main::RB_PSTN_DHCPClick() {
  RG_Network_type->setItemIndex(1);
}

void TF_ez_config_main::RB_PSTN_PPPoEClick() {
  ED_PPPoE_ID->setText(ED_PSTN_login->text());
  ED_PPPoE_Password->setText(ED_PSTN_password->text());
  RG_Network_type->setItemIndex(0);
}

void TF_ez_config_main::CB_Local_PCClick() {
  QWidget* const lanChoice[] = {RG_Network_type, GB_Common, GB_Static_IP_address, GB_PPPoE,
                                GB_DHCP};
  if (!CB_Local_PC->isChecked()) {
    for (QWidget* w : lanChoice) w->setEnabled(true);
    RB_PSTN_DHCP->setEnabled(false);
    RB_PSTN_PPPoE->setEnabled(false);
    return;
  }
  // The attached PC decides the LAN side: the LAN tab's own choice no longer applies.
  for (QWidget* w : lanChoice) w->setEnabled(false);
  RB_PSTN_DHCP->setEnabled(true);
  RB_PSTN_PPPoE->setEnabled(true);
  if (RB_Dial_up->isChecked()) RB_Dial_upClick();
  if (RB_PSTN_DHCP->isChecked())
    RB_PSTN_DHCPClick();
  else
    RB_PSTN_PPPoEClick();
}

void TF_ez_config_main::RG_ProtocolClick() {
  const int item = RG_Protocol->itemIndex();
  if (item < 0 || item > 2) return;
  GB_Gatekeeper->setVisible(item == 0);
  GB_SIP->setVisible(item == 1);
  GB_MGCP->setVisible(item == 2);
  // Under MGCP the numbers come from the call agent: the grid stays visible, greyed.
  SG_VoIP_Phone_number->setEnabled(item != 2);
  paintGridBackground(item != 2);
}

void TF_ez_config_main::paintGridBackground(bool enabled) {
  QPalette p = SG_VoIP_Phone_number->palette();
  const QPalette system = QPalette();
  const QColor colour = enabled ? system.color(QPalette::Active, QPalette::Base)
                                : system.color(QPalette::Active, QPalette::Button);
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    p.setColor(group, QPalette::Base, colour);
  SG_VoIP_Phone_number->setPalette(p);
}

void TF_ez_config_main::CK_auto_upgradeClick() {
  const bool on = CK_auto_upgrade->isChecked();
  for (QWidget* w :
       std::initializer_list<QWidget*>{ED_server_URL, ED_auto_upgrade_ID, ED_auto_upgrade_password,
                                       L_server_url, L_auto_ID, L_auto_password})
    w->setEnabled(on);
}

void TF_ez_config_main::SG_VoIP_Phone_numberDrawCell(QPainter& painter, int ACol, int ARow,
                                                     const QRect& Rect,
                                                     StringGrid::DrawState State) {
  StringGrid* grid = SG_VoIP_Phone_number;
  const QColor gridColour = grid->palette().color(QPalette::Active, QPalette::Base);
  // The colour the grid filled the cell with.
  QColor cellColour = gridColour;
  if (State & StringGrid::Fixed)
    cellColour = grid->fixedColor();
  else if (State & StringGrid::Selected)
    cellColour = grid->palette().color(QPalette::Active, QPalette::Highlight);

  painter.setFont(grid->font());
  const QFontMetrics metrics = painter.fontMetrics();
  // Text left edge, centred; a text wider than the cell starts left of it.
  const auto centredX = [&](const QString& text) {
    return Rect.left() + (Rect.width() - metrics.horizontalAdvance(text)) / 2;
  };

  QString text = grid->cell(ACol, ARow);
  painter.setPen(Qt::black);
  painter.fillRect(Rect, cellColour);
  painter.drawText(centredX(text), Rect.top() + 2 + metrics.ascent(), text);

  if (State & StringGrid::Selected) {
    // A selected cell keeps the grid's colour inside a frame, its text one pixel lower.
    painter.setBrush(gridColour);
    painter.setPen(Qt::black);
    painter.drawRect(Rect.adjusted(0, 0, -1, -1));
    text = grid->cell(ACol, ARow);
    painter.drawText(centredX(text), Rect.top() + 3 + metrics.ascent(), text);
  }
}
