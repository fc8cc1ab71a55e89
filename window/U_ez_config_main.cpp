#include "window/U_ez_config_main.h"

#include <QAction>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QShortcut>
#include <QTimer>

#include "ui_U_ez_config_main.h"
#include "widgets/fixed_font.h"
#include "widgets/screen_centre.h"
#include "window/U_debug.h"
#include "window/change_tracker.h"
#include "window/focused_button.h"
#include "window/guarded.h"
#include "window/model_mirror.h"

// The pictures are compiled into the static library: register them before the form loads.
static void loadPictures() {
  Q_INIT_RESOURCE(resources);
}

namespace {
constexpr int kClientWidth = 510;
constexpr int kClientHeight = 362;
constexpr int kBannerHeight = 81;
}  // namespace

TF_ez_config_main::TF_ez_config_main(QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::TF_ez_config_main>()) {
  loadPictures();
  ui_->setupUi(this);
  setObjectName(QStringLiteral("TF_ez_config_main"));
  // Fixed border, close box only.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);
  setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
  // The cover hides the pages under it. The three server groups of the VoIP page share one place:
  // the one on top hides those beneath, so they (and, to match, the pages) paint their background.
  ui_->P_main->setAutoFillBackground(true);
  for (int i = 0; i < ui_->PageControl1->count(); ++i)
    ui_->PageControl1->widget(i)->setAutoFillBackground(true);
  for (QWidget* stacked : {ui_->GB_Gatekeeper, ui_->GB_SIP, ui_->GB_MGCP})
    stacked->setAutoFillBackground(true);

  // Status text: white fixed-pitch terminal font on black.
  QFont terminal = fixedPitchFont();
  ui_->M_State_Info->setFont(terminal);
  QPalette memo = ui_->M_State_Info->palette();
  memo.setColor(QPalette::Base, Qt::black);
  memo.setColor(QPalette::Text, Qt::white);
  ui_->M_State_Info->setPalette(memo);

  // The two fixed services: their edits carry the button-face colour.
  for (QLineEdit* fixed : {ui_->ED_service_h323, ui_->ED_service_sip}) {
    QPalette p = fixed->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Button));
    fixed->setPalette(p);
  }

  // Hidden characters show as "*", as in the login dialog, not as the style's bullet. Set here,
  // once the form is built: set in the form, the character is lost again while the pages move
  // into the page control.
  for (QLineEdit* edit : findChildren<QLineEdit*>())
    if (edit->echoMode() == QLineEdit::Password)
      edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));

  // Gauge: sky-blue bar on white, percentage in the bar.
  ui_->Gauge1->setStyleSheet(
      QStringLiteral("QProgressBar { background: white; border: 1px solid #7a8a99; color: black; }"
                     "QProgressBar::chunk { background: #87ceeb; }"));

  ui_->SG_VoIP_Phone_number->setColWidths({40, 40, 110});
  ui_->SG_VoIP_Phone_number->setDrawCellHandler(
      [this](QPainter& painter, int col, int row, const QRect& rect, StringGrid::DrawState state) {
        SG_VoIP_Phone_numberDrawCell(painter, col, row, rect, state);
      });

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  debug1 = new QAction(QStringLiteral("debug"), this);
  debug1->setObjectName(QStringLiteral("debug1"));
  debug1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));
  debug1->setVisible(false);
  PopupMenu1->addAction(debug1);
  // An invisible action's own shortcut is switched off by Qt; a window shortcut keeps Ctrl+Delete
  // working while the menu shows nothing.
  debugShortcut_ = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete), this);
  debugShortcut_->setContext(Qt::WindowShortcut);
  connect(debugShortcut_, &QShortcut::activated, debug1, &QAction::trigger);
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    // A menu whose only entry is hidden has nothing to show.
    for (const QAction* action : PopupMenu1->actions())
      if (action->isVisible()) {
        PopupMenu1->popup(mapToGlobal(pos));
        return;
      }
  });

  // Enter on a focused button presses that button, not the default one.
  for (QPushButton* button : findChildren<QPushButton*>()) pressOnEnter(button);

  setupTimers();
  setupConfigurationMenu();
  ui_->ED_Static_IP_address->installEventFilter(this);
  connectHandlers();
  connectSession();
  FormCreate();
}

TF_ez_config_main::~TF_ez_config_main() {
  // The mirror and the tracker go first: the controls, deleted after the model, must not reach
  // them through it.
  delete changes_;
  changes_ = nullptr;
  delete mirror_;
  mirror_ = nullptr;
}

void TF_ez_config_main::setPeers(TF_Connection* connection, TF_Debug* debug) {
  connection_ = connection;
  debug_ = debug;
}

void TF_ez_config_main::setLogin(TF_Login* login) {
  login_ = login;
}

void TF_ez_config_main::connectHandlers() {
  const auto guarded = [this](void (TF_ez_config_main::*handler)()) {
    return [this, handler] { runGuarded([this, handler] { (this->*handler)(); }); };
  };
  connect(ui_->BB_Connect, &QPushButton::clicked, this,
          guarded(&TF_ez_config_main::BB_ConnectClick));
  connect(ui_->BB_Disconnect, &QPushButton::clicked, this,
          guarded(&TF_ez_config_main::BB_DisconnectClick));
  connect(ui_->BB_Save, &QPushButton::clicked, this, guarded(&TF_ez_config_main::BB_SaveClick));
  connect(ui_->BB_Restart, &QPushButton::clicked, this,
          guarded(&TF_ez_config_main::BB_RestartClick));
  connect(ui_->BB_Exit, &QPushButton::clicked, this, guarded(&TF_ez_config_main::BB_ExitClick));
  connect(debug1, &QAction::triggered, this, guarded(&TF_ez_config_main::debug1Click));

  connect(Timer1, &QTimer::timeout, this, guarded(&TF_ez_config_main::Timer1Timer));
  connect(Timer_gauge, &QTimer::timeout, this, guarded(&TF_ez_config_main::Timer_gaugeTimer));
  connect(T_State_Info, &QTimer::timeout, this, guarded(&TF_ez_config_main::T_State_InfoTimer));
  connect(ui_->PageControl1, &PageControl::operatorPageChange, this,
          guarded(&TF_ez_config_main::PageControl1Change));

  currentPage_ = ui_->PageControl1->currentWidget();
  connect(ui_->PageControl1, &QTabWidget::currentChanged, this, [this] {
    previousPage_ = currentPage_;
    currentPage_ = ui_->PageControl1->currentWidget();
  });
  // The option controls' clicks reach the model through the mirror, which runs their handlers.
  mirror_ = new ModelMirror(model, *this, this);
  connect(mirror_, &ModelMirror::gridEnabledChanged, this,
          [this](bool enabled) { paintGridBackground(enabled); });
  changes_ = new ChangeTracker(model, *this, this);
  connect(changes_, &ChangeTracker::countChanged, this, [this] { showTitle(); });
}

void TF_ez_config_main::FormCreate() {
  // The cover lies outside the client area at design time: put it just below the banner.
  ui_->P_main->move(ui_->P_main->x(), kBannerHeight);
  ui_->P_main->raise();
  mirror_->showAll();
}

void TF_ez_config_main::FormShow() {
  ui_->PageControl1->setPageTabHidden(ui_->Tab_PC, true);
  ui_->GB_Area_Number->hide();
  ui_->IMG_ALL_UP->hide();
  ui_->IMG_Easy_Setup->hide();
  ui_->IMG_DIAL_UP->show();
  ui_->L_Easy_Version->setText(QStringLiteral("v2.35"));
  Language_Convert();
}

void TF_ez_config_main::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous() || shown_) return;
  shown_ = true;
  centreOnScreen(*this);
  runGuarded([this] { FormShow(); });
}

void TF_ez_config_main::debug1Click() {
  if (!debug_) return;
  debug_->show();
  debug_->raise();
}

void TF_ez_config_main::keyPressEvent(QKeyEvent* event) {
  // Enter presses the default button of the bar: Disconnect while it is shown, else Connect. A
  // button with the focus takes Enter itself (see the constructor).
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    QPushButton* button = ui_->BB_Disconnect->isVisible() ? ui_->BB_Disconnect : ui_->BB_Connect;
    if (button->isVisible() && button->isEnabled()) {
      button->click();
      return;
    }
  }
  QWidget::keyPressEvent(event);
}

bool TF_ez_config_main::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui_->ED_Static_IP_address && event->type() == QEvent::FocusOut) {
    // Leaving the field for another control; a window losing activation or a popup is no exit.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
      runGuarded([this] { ED_Static_IP_addressExit(); });
  }
  return QWidget::eventFilter(watched, event);
}
