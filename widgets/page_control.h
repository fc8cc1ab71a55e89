#pragma once
#include <QTabWidget>

// A page control whose tabs can be hidden, and which tells page changes made by the operator
// (mouse, keyboard, wheel) apart from those made by code: operatorPageChange() is emitted only
// for the former. Code changes the page through setActivePage / setActivePageIndex.
class PageControl : public QTabWidget {
  Q_OBJECT
 public:
  explicit PageControl(QWidget* parent = nullptr);

  void setActivePage(QWidget* page);
  void setActivePageIndex(int index);
  void setPageTabHidden(QWidget* page, bool hidden);

 signals:
  void operatorPageChange();

 protected:
  bool event(QEvent* event) override;

 private:
  int m_operatorInput = 0;   // depth of operator input being delivered to the tabs
  int m_codeChange = 0;      // depth of page changes made through the functions above
  int m_lastShownIndex = 0;  // the last current page whose tab is shown
};
