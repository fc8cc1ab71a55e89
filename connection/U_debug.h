#pragma once
// The debug window: shows the debug log live, sends a typed command raw, dumps the token array.
#include <QWidget>

#include "ui_U_debug.h"

class Link;

class TF_Debug : public QWidget, public Ui::TF_Debug {
  Q_OBJECT
 public:
  explicit TF_Debug(QWidget* parent = nullptr);

  // The link whose debug log is shown and through which ".." sends.
  void setLink(Link* link);

  void Button1Click();  // "Clear"
  void Button2Click();  // ".."
  void Button3Click();  // "argv[..] Show"

 private:
  void showLine(const QString& line);

  Link* link_ = nullptr;
};
