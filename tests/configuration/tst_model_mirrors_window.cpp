// The model against the real main window: the same start state, and the same state after the same
// operations set from code (the option handlers' cascades included), compared control by control
// through the objectNames. Only the window's controls (by objectName) and its model are used.
#include <QApplication>
#include <QLabel>
#include <QRandomGenerator>
#include <QtTest>

#include "field_state.h"
#include "model/address_text.h"
#include "model/config_model.h"
#include "widgets/address_edit.h"
#include "widgets/check_box.h"
#include "widgets/radio_button.h"
#include "widgets/radio_group.h"
#include "widgets/string_grid.h"
#include "window/U_ez_config_main.h"
#include "window/app_start.h"

namespace {

// The widget of the field's objectName, described as fieldState describes the field.
QString widgetState(TF_ez_config_main* w, const Field& f) {
  QWidget* widget = w->findChild<QWidget*>(f.objectName());
  if (!widget) return f.objectName() + QStringLiteral(" missing in the window");
  QStringList parts;
  switch (f.kind()) {
    case Field::Kind::Text:
      parts << QStringLiteral("text=") + qobject_cast<QLineEdit*>(widget)->text();
      break;
    case Field::Kind::Address:
      parts << QStringLiteral("text=") + qobject_cast<AddressEdit*>(widget)->text();
      break;
    case Field::Kind::Check:
    case Field::Kind::Radio:
      parts
          << QStringLiteral("checked=%1").arg(qobject_cast<QAbstractButton*>(widget)->isChecked());
      break;
    case Field::Kind::ItemGroup:
      parts << QStringLiteral("index=%1").arg(qobject_cast<RadioGroup*>(widget)->itemIndex());
      break;
    case Field::Kind::Panel:
      break;
    case Field::Kind::Label:
      // A caption label's words are the window's own.
      parts << QStringLiteral("text=") + (static_cast<const LabelField&>(f).text().isNull()
                                              ? QString()
                                              : qobject_cast<QLabel*>(widget)->text());
      break;
    case Field::Kind::Grid: {
      auto* g = qobject_cast<StringGrid*>(widget);
      QStringList rows;
      for (int row = 0; row < g->rowCount(); ++row) {
        rows << g->cell(0, row) + QLatin1Char('|') + g->cell(1, row) + QLatin1Char('|') +
                    g->cell(2, row);
      }
      parts << QStringLiteral("rows=") + rows.join(QLatin1Char('/'));
      break;
    }
  }
  // The control's own flags: a disabled or hidden parent does not count.
  parts << QStringLiteral("enabled=%1").arg(!widget->testAttribute(Qt::WA_ForceDisabled));
  parts << QStringLiteral("visible=%1").arg(!widget->isHidden());
  return f.objectName() + QLatin1Char(' ') + parts.join(QLatin1Char(' '));
}

}  // namespace

class TestModelMirrorsWindow : public QObject {
  Q_OBJECT
  TF_ez_config_main* w = nullptr;
  ConfigModel* m = nullptr;

  // Every field that differs from its widget, both sides shown.
  QStringList differences() {
    QStringList out;
    for (const Field* f : m->fields()) {
      const QString model = fieldState(*f, false);
      const QString window = widgetState(w, *f);
      if (model != window)
        out << QStringLiteral("model:  ") + model << QStringLiteral("window: ") + window;
    }
    return out;
  }

 private slots:
  void initTestCase() {
    createAppWindows();
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (auto* main = qobject_cast<TF_ez_config_main*>(top)) w = main;
    }
    QVERIFY(w);
    m = new ConfigModel;
  }
  void cleanupTestCase() { delete m; }

  // First, before anything has touched either side.
  void startStateIsTheWindows() { QCOMPARE(differences(), QStringList()); }

  // Seeded random operations from code, as the session or an operator's mirrored edit would set
  // them: every control after every step.
  void sameOperationsGiveTheSameState_data() {
    QTest::addColumn<quint32>("seed");
    for (quint32 seed : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u}) QTest::addRow("seed %u", seed) << seed;
  }
  void sameOperationsGiveTheSameState() {
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    const QStringList texts = {"", "x", "pstnuser", "a b", "0171234", "http://", " "};
    const QStringList addresses = {"",       "10.0.0.1",     "172.16.0", "192.0.2.10",
                                   "1..3.4", "host.example", "1.2.3.4.5"};
    const QStringList cells = {"", "0/0", "1/0", "FXS", "1001", "T"};
    using Handler = void (ConfigModel::*)();
    const QList<Handler> handlers = {
        &ConfigModel::RG_Network_typeClick, &ConfigModel::RB_DHCPClick,
        &ConfigModel::RB_PPPoEClick,        &ConfigModel::RB_IPClick,
        &ConfigModel::RB_All_upClick,       &ConfigModel::RB_Dial_upClick,
        &ConfigModel::RB_PSTN_DHCPClick,    &ConfigModel::RB_PSTN_PPPoEClick,
        &ConfigModel::RG_ProtocolClick,     &ConfigModel::CK_auto_upgradeClick,
        &ConfigModel::CB_Local_PCClick};
    const auto pick = [&](const QStringList& from) {
      return from.at(int(random.bounded(quint32(from.size()))));
    };

    for (int step = 0; step < 300; ++step) {
      Field* f = m->fields().at(int(random.bounded(quint32(m->fields().size()))));
      QWidget* widget = w->findChild<QWidget*>(f->objectName());
      QString done = f->objectName();
      switch (f->kind()) {
        case Field::Kind::Text: {
          const QString t = pick(texts);
          static_cast<TextField*>(f)->setText(t);
          qobject_cast<QLineEdit*>(widget)->setText(t);
          done += QStringLiteral(" = ") + t;
          break;
        }
        case Field::Kind::Address: {
          const QString t = pick(addresses);
          static_cast<AddressField*>(f)->setText(t);
          // The widget warns about a text its mask cannot show.
          if (!fitsAddressMask(t)) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("not a dotted")));
          }
          qobject_cast<AddressEdit*>(widget)->setText(t);
          done += QStringLiteral(" = ") + t;
          break;
        }
        case Field::Kind::Check: {
          const bool on = random.bounded(2u);
          static_cast<CheckField*>(f)->setChecked(on);
          qobject_cast<CheckBox*>(widget)->setChecked(on);
          done += QStringLiteral(" = %1").arg(on);
          break;
        }
        case Field::Kind::Radio: {
          // Checked, as a click does; unchecking comes from the handlers (RB_IPClick and others).
          const bool on = true;
          static_cast<RadioField*>(f)->setChecked(on);
          qobject_cast<RadioButton*>(widget)->setChecked(on);
          done += QStringLiteral(" = %1").arg(on);
          break;
        }
        case Field::Kind::ItemGroup: {
          const int index = int(random.bounded(6u)) - 2;
          static_cast<ItemGroupField*>(f)->setItemIndex(index);
          if (index > 2)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(".*")));
          qobject_cast<RadioGroup*>(widget)->setItemIndex(index);
          done += QStringLiteral(" = %1").arg(index);
          break;
        }
        case Field::Kind::Grid: {
          auto* g = qobject_cast<StringGrid*>(widget);
          auto& field = static_cast<GridField&>(*f);
          const int row = int(random.bounded(6u));
          switch (random.bounded(3u)) {
            case 0:
              field.setRowCount(row);
              g->setRowCount(row);
              done += QStringLiteral(" rows %1").arg(row);
              break;
            case 1: {
              const int col = int(random.bounded(3u));
              const QString t = pick(cells);
              field.setCell(col, row, t);
              g->setCell(col, row, t);
              done += QStringLiteral(" cell %1,%2 = %3").arg(col).arg(row).arg(t);
              break;
            }
            default:
              field.setRowCount(field.rowCount() + 1);
              g->setRowCount(g->rowCount() + 1);
              done += QStringLiteral(" one row more");
              break;
          }
          break;
        }
        case Field::Kind::Panel:
        case Field::Kind::Label: {
          // Not operated: a handler runs instead.
          // The window's own model runs it and the mirror shows it in the controls.
          const Handler h = handlers.at(int(random.bounded(quint32(handlers.size()))));
          (m->*h)();
          (w->model.*h)();
          done = QStringLiteral("a handler");
          break;
        }
      }
      const QStringList diff = differences();
      QVERIFY2(diff.isEmpty(), qPrintable(QStringLiteral("step %1, %2:\n").arg(step).arg(done) +
                                          diff.join(QLatin1Char('\n'))));
    }
  }
};

QTEST_MAIN(TestModelMirrorsWindow)
#include "tst_model_mirrors_window.moc"
