#pragma once
#include <QLineEdit>

// The masked dotted-address edit ("999.999.999.999", blanks in unfilled positions, fixed dots).
// text() is always 15 characters ("   .   .   .   " when empty). setText lays the dotted groups of
// a full or shorter address ("192.168.0.1", "255.0.0.0", "192.168.0") into the mask so that
// removing every blank from text() gives the text set, followed by the dots of missing groups.
// Blanks in the text set are ignored. A text that does not fit the mask (more than four groups, a
// group of more than three characters, anything but digits and dots) leaves the field empty
// rather than showing a different address.
// text() and setText() hide QLineEdit's: always call them through an AddressEdit*.
class AddressEdit : public QLineEdit {
  Q_OBJECT
  // Shadows QLineEdit's property, so property("text") gives the 15 characters too.
  Q_PROPERTY(QString text READ text WRITE setText USER true)
 public:
  static const QString kEmpty;  // "   .   .   .   "

  explicit AddressEdit(QWidget* parent = nullptr);
  QString text() const;
  void setText(const QString& text);
  void clear() { setText(QString()); }
};
