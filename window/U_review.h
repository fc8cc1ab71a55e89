#pragma once
// The review before Save: every change the write makes (page, field, as read, to be written;
// secrets as ***) and the values the gateway would keep whatever is written. The operator saves
// or goes back; the review can be switched off for later Saves.
#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

struct ReviewRow {
  QString page;
  QString field;
  QString asRead;
  QString toWrite;
  bool operator==(const ReviewRow& o) const {
    return page == o.page && field == o.field && asRead == o.asRead && toWrite == o.toWrite;
  }
};

struct ReviewRequest {
  QList<ReviewRow> rows;
  QStringList warnings;
};

struct ReviewAnswer {
  bool save = false;
  // "Save without this review from now on" was ticked.
  bool stopReviewing = false;
};

class TF_Review : public QDialog {
  Q_OBJECT
 public:
  explicit TF_Review(const ReviewRequest& request, QWidget* parent = nullptr);
  ReviewAnswer answer() const;

 private:
  QTableWidget* TW_Changes = nullptr;
  QLabel* L_Review_Warnings = nullptr;
  QCheckBox* CK_Review_Off = nullptr;
  QPushButton* BB_Review_Save = nullptr;
  QPushButton* BB_Review_Cancel = nullptr;
};

// Tests answer the review instead of the dialog; an empty function restores the dialog.
using ReviewInterceptor = std::function<ReviewAnswer(const ReviewRequest&)>;
void setReviewInterceptor(ReviewInterceptor interceptor);

// The review, modal over `parent`.
ReviewAnswer reviewChanges(const ReviewRequest& request, QWidget* parent);
