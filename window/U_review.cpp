#include "window/U_review.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
ReviewInterceptor& interceptor() {
  static ReviewInterceptor function;
  return function;
}
}  // namespace

TF_Review::TF_Review(const ReviewRequest& request, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TF_Review"));
  setWindowTitle(tr("Review the changes"));
  auto* layout = new QVBoxLayout(this);
  auto* intro = new QLabel(tr("Save writes these changes to the gateway:"), this);
  layout->addWidget(intro);

  TW_Changes = new QTableWidget(int(request.rows.size()), 4, this);
  TW_Changes->setObjectName(QStringLiteral("TW_Changes"));
  TW_Changes->setHorizontalHeaderLabels(
      {tr("Page"), tr("Field"), tr("As read"), tr("To be written")});
  TW_Changes->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TW_Changes->setSelectionBehavior(QAbstractItemView::SelectRows);
  TW_Changes->verticalHeader()->hide();
  TW_Changes->horizontalHeader()->setStretchLastSection(true);
  for (int row = 0; row < request.rows.size(); ++row) {
    const ReviewRow& r = request.rows.at(row);
    const QString cells[] = {r.page, r.field, r.asRead, r.toWrite};
    for (int col = 0; col < 4; ++col)
      TW_Changes->setItem(row, col, new QTableWidgetItem(cells[col]));
  }
  TW_Changes->resizeColumnsToContents();
  intro->setBuddy(TW_Changes);
  layout->addWidget(TW_Changes);

  L_Review_Warnings = new QLabel(this);
  L_Review_Warnings->setObjectName(QStringLiteral("L_Review_Warnings"));
  L_Review_Warnings->setWordWrap(true);
  L_Review_Warnings->setText(request.warnings.join(QLatin1Char('\n')));
  L_Review_Warnings->setVisible(!request.warnings.isEmpty());
  layout->addWidget(L_Review_Warnings);

  CK_Review_Off = new QCheckBox(tr("Save &without this review from now on"), this);
  CK_Review_Off->setObjectName(QStringLiteral("CK_Review_Off"));
  layout->addWidget(CK_Review_Off);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  BB_Review_Save = new QPushButton(tr("&Save"), this);
  BB_Review_Save->setObjectName(QStringLiteral("BB_Review_Save"));
  BB_Review_Cancel = new QPushButton(tr("&Back to the form"), this);
  BB_Review_Cancel->setObjectName(QStringLiteral("BB_Review_Cancel"));
  buttons->addWidget(BB_Review_Save);
  buttons->addWidget(BB_Review_Cancel);
  layout->addLayout(buttons);
  // Going back is the safe answer: Escape and Enter on no button choose it.
  BB_Review_Cancel->setDefault(true);
  connect(BB_Review_Save, &QPushButton::clicked, this, &QDialog::accept);
  connect(BB_Review_Cancel, &QPushButton::clicked, this, &QDialog::reject);
  resize(640, 360);
}

ReviewAnswer TF_Review::answer() const {
  return {result() == QDialog::Accepted, CK_Review_Off->isChecked()};
}

void setReviewInterceptor(ReviewInterceptor function) {
  interceptor() = std::move(function);
}

ReviewAnswer reviewChanges(const ReviewRequest& request, QWidget* parent) {
  if (interceptor()) return interceptor()(request);
  TF_Review dialog(request, parent);
  dialog.exec();
  const ReviewAnswer answer = dialog.answer();
  // Switching the review off counts only with a Save.
  return {answer.save, answer.save && answer.stopReviewing};
}
