#pragma once
// Keeps the main window's controls and the configuration model in step, both ways: every change of
// the model is shown on the control of the same objectName, and every edit of a control (by the
// operator or by code that sets the control directly) is put back through the model's setters, so
// the option handlers run once, in the model.
#include <QHash>
#include <QObject>
#include <functional>

class ConfigModel;
class Field;
class QWidget;

class ModelMirror : public QObject {
  Q_OBJECT
 public:
  ModelMirror(ConfigModel& model, QWidget& root, QObject* parent = nullptr);

  // Shows every field on its control (at start).
  void showAll();

 signals:
  // The grid's enabled flag changed: the window repaints its background to match.
  void gridEnabledChanged(bool enabled);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void show(Field* field);
  // Puts an edit of `field`'s control into the model; the control itself is not set back.
  void putEdit(Field* field, const std::function<void()>& put);
  void listen(Field* field, QWidget* widget);

  ConfigModel& model_;
  QWidget& root_;
  // Each field's control, found once: a search of the window by name at every change was most of
  // the time a read spent in the window.
  QHash<const Field*, QWidget*> widgets_;
  // The longest text the gateway takes, for the text fields that have a limit.
  QHash<const Field*, int> maxLengths_;
  // Set while the mirror itself sets a control, so that its change is not taken for an edit.
  bool showing_ = false;
  Field* editing_ = nullptr;
};
