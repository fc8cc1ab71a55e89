// The phone-number grid's colours and drawing. The option interplay of the pages lives in the model
// (model/option_handlers.cpp).
#include <QPainter>

#include "ui_U_ez_config_main.h"
#include "window/U_ez_config_main.h"

void TF_ez_config_main::paintGridBackground(bool enabled) {
  QPalette p = ui_->SG_VoIP_Phone_number->palette();
  const QPalette system = QPalette();
  const QColor colour = enabled ? system.color(QPalette::Active, QPalette::Base)
                                : system.color(QPalette::Active, QPalette::Button);
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    p.setColor(group, QPalette::Base, colour);
  ui_->SG_VoIP_Phone_number->setPalette(p);
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
