#pragma once
// The debug window: shows the debug log live, sends a typed command raw, dumps the token array,
// and saves the log to a file with every password hidden.
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

class Link;
class MessageTable;
class QAction;

namespace Ui {
class TF_Debug;
}

class TF_Debug : public QWidget {
  Q_OBJECT
 public:
  explicit TF_Debug(QWidget* parent = nullptr);
  ~TF_Debug() override;

  // The link whose debug log is shown and through which ".." sends.
  void setLink(Link* link);
  // The texts of the boxes this window shows.
  void setMessages(const MessageTable* messages);
  // The passwords the tool holds right now (the fields that hide their text): hidden in a saved
  // log wherever they appear, beside the lines that carry a password by their form.
  void setKnownSecrets(std::function<QStringList()> knownSecrets);

  void Button1Click();   // "Clear"
  void Button2Click();   // ".."
  void Button3Click();   // "argv[..] Show"
  void saveLog1Click();  // asks for a file and saves the log there
  // Writes the log, masked, to `path` as a whole or not at all; false (and a box) on failure.
  bool saveLog(const QString& path);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::unique_ptr<Ui::TF_Debug> ui_;
  // The log's context-menu entry.
  QAction* saveLog1 = nullptr;

  void showLine(const QString& line);
  void fitToScreen();
  void showNewest();
  // The view holds the whole log again.
  void showAllLines();
  // Lines were logged while the window was hidden and are not in the view yet: filling a hidden
  // view line by line cost most of a read's time.
  bool stale_ = false;

  Link* link_ = nullptr;
  const MessageTable* messages_ = nullptr;
  std::function<QStringList()> knownSecrets_;
};
