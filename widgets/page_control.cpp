#include "widgets/page_control.h"

#include <QEvent>
#include <QTabBar>

namespace {
bool isOperatorInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
      return true;
    default:
      return false;
  }
}

// Counts up for the time a scope runs.
class DepthScope {
 public:
  explicit DepthScope(int& depth) : m_depth(depth) { ++m_depth; }
  ~DepthScope() { --m_depth; }
  DepthScope(const DepthScope&) = delete;
  DepthScope& operator=(const DepthScope&) = delete;

 private:
  int& m_depth;
};
}  // namespace

// The tab bar counts the operator's input while it is being delivered to it.
class PageControlTabBar : public QTabBar {
 public:
  PageControlTabBar(int& operatorInput, QWidget* parent)
      : QTabBar(parent), m_operatorInput(operatorInput) {}

 protected:
  bool event(QEvent* event) override {
    if (!isOperatorInput(event->type())) return QTabBar::event(event);
    DepthScope input(m_operatorInput);
    return QTabBar::event(event);
  }

 private:
  int& m_operatorInput;
};

PageControl::PageControl(QWidget* parent) : QTabWidget(parent) {
  setTabBar(new PageControlTabBar(m_operatorInput, this));
  // currentChanged also fires for code (insert, remove, hide a tab, setCurrentIndex): only a
  // change made while the operator's input is being delivered to the tabs counts as theirs.
  connect(this, &QTabWidget::currentChanged, this, [this](int index) {
    const bool operatorChange = m_operatorInput > 0 && m_codeChange == 0;
    // The tab bar's arrow keys and Ctrl+Tab pass over disabled tabs, not over hidden ones: a
    // hidden page the operator reached that way is passed over in the same direction.
    if (operatorChange && index >= 0 && !isTabVisible(index)) {
      const int step = index > m_lastShownIndex ? 1 : -1;
      int next = index;
      for (int tries = 0; tries < count() && !isTabVisible(next); ++tries)
        next = (next + step + count()) % count();
      // The page change the operator made is the one to the shown page.
      setCurrentIndex(isTabVisible(next) ? next : m_lastShownIndex);
      return;
    }
    if (index >= 0 && isTabVisible(index)) m_lastShownIndex = index;
    if (operatorChange) emit operatorPageChange();
  });
}

void PageControl::setActivePage(QWidget* page) {
  DepthScope code(m_codeChange);
  setCurrentWidget(page);
}

void PageControl::setActivePageIndex(int index) {
  DepthScope code(m_codeChange);
  setCurrentIndex(index);
}

void PageControl::setPageTabHidden(QWidget* page, bool hidden) {
  const int index = indexOf(page);
  if (index < 0) return;
  DepthScope code(m_codeChange);
  setTabVisible(index, !hidden);
}

bool PageControl::event(QEvent* event) {
  // Ctrl+Tab and Ctrl+PageUp/PageDown reach the page control itself (also from a focused page).
  if (!isOperatorInput(event->type())) return QTabWidget::event(event);
  DepthScope input(m_operatorInput);
  return QTabWidget::event(event);
}
