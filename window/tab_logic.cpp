// Option interplay of the pages: the handlers live in the model (model/option_handlers.cpp); the
// window's entry points forward to them. The grid's colours and drawing stay here.
#include <QPainter>

#include "ui_U_ez_config_main.h"
#include "window/U_ez_config_main.h"

void TF_ez_config_main::RG_Network_typeClick() {
  model.RG_Network_typeClick();
}

void TF_ez_config_main::RB_DHCPClick() {
  model.RB_DHCPClick();
}

void TF_ez_config_main::RB_PPPoEClick() {
  model.RB_PPPoEClick();
}

void TF_ez_config_main::RB_IPClick() {
  model.RB_IPClick();
}

void TF_ez_config_main::RB_Dial_upClick() {
  model.RB_Dial_upClick();
}

void TF_ez_config_main::RB_All_upClick() {
  model.RB_All_upClick();
}

void TF_ez_config_main::RB_PSTN_DHCPClick() {
  model.RB_PSTN_DHCPClick();
}

void TF_ez_config_main::RB_PSTN_PPPoEClick() {
  model.RB_PSTN_PPPoEClick();
}

void TF_ez_config_main::CB_Local_PCClick() {
  model.CB_Local_PCClick();
}

void TF_ez_config_main::RG_ProtocolClick() {
  model.RG_ProtocolClick();
}

void TF_ez_config_main::paintGridBackground(bool enabled) {
  QPalette p = ui_->SG_VoIP_Phone_number->palette();
  const QPalette system = QPalette();
  const QColor colour = enabled ? system.color(QPalette::Active, QPalette::Base)
                                : system.color(QPalette::Active, QPalette::Button);
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    p.setColor(group, QPalette::Base, colour);
  ui_->SG_VoIP_Phone_number->setPalette(p);
}

void TF_ez_config_main::CK_auto_upgradeClick() {
  model.CK_auto_upgradeClick();
}

void TF_ez_config_main::SG_VoIP_Phone_numberDrawCell(QPainter& painter, int ACol, int ARow,
                                                     const QRect& Rect,
                                                     StringGrid::DrawState State) {
  StringGrid* grid = ui_->SG_VoIP_Phone_number;
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
