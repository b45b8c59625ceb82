#include "ui/main_window.h"

#include <QCloseEvent>
#include <QShowEvent>
#include <QVBoxLayout>
#include <cstdio>
#include <utility>

#include "ui/application_title.h"
#include "ui/font_scale.h"
#include "ui/region_dialog.h"
#include "ui/uncaught_error.h"

namespace {

// The layout's sizes in the original font's pixels (TFontScale).
constexpr int kClientWidth = 385;
constexpr int kClientHeight = 90;
constexpr int kToolbarHeight = 29;
constexpr int kButtonWidth = 75;
constexpr int kBarMargin = 3;
constexpr int kStatusBarHeight = 25;

}  // namespace

TfmMain::TfmMain(TDeltaSettings settings, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      Bar(new TLedBar(this)),
      Panel(new TStatusLabel(this)),
      RzToolbar1(new QToolBar(this)),
      Info_Panel(new QStatusBar(this)),
      settings_(std::move(settings)),
      paneStatus_(*Panel),
      barProgress_(*Bar) {
    setWindowTitle(ApplicationTitle());
    const TFontScale scale(font());
    setFixedSize(scale.Size(kClientWidth, kClientHeight));
    RzToolbar1->setMovable(false);
    RzToolbar1->setFloatable(false);
    RzToolbar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // Five 75-pixel buttons fill the toolbar, whose height is theirs: no room
    // for the style's padding, and the groove along the top shows above them.
    RzToolbar1->setStyleSheet(
        QStringLiteral("QToolBar { spacing: 0px; padding: 0px; border: none;"
                       " border-top: 2px groove palette(mid); }"
                       " QToolButton { margin-top: 2px; }"));
    const QSize buttonSize = scale.Size(kButtonWidth, kToolbarHeight);
    Start = AddAction(QStringLiteral("Старт"), &TfmMain::StartExecute, buttonSize);
    Stop = AddAction(QStringLiteral("Стоп"), &TfmMain::StopExecute, buttonSize);
    Region = AddAction(QStringLiteral("Настройка"), &TfmMain::RegionExecute, buttonSize);
    Help = AddAction(QStringLiteral("Справка"), nullptr, buttonSize);
    Help->setEnabled(false);
    Exit = AddAction(QStringLiteral("Выход"), &TfmMain::ExitExecute, buttonSize);

    Info_Panel->setSizeGripEnabled(false);
    Info_Panel->setFixedHeight(scale.Y(kStatusBarHeight));
    Panel->setAlignment(Qt::AlignCenter);
    Info_Panel->addWidget(Panel, 1);

    // Toolbar on top, status bar at the bottom, the LED bar between them.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(RzToolbar1);
    auto* barArea = new QVBoxLayout;
    const int marginX = scale.X(kBarMargin);
    const int marginY = scale.Y(kBarMargin);
    barArea->setContentsMargins(marginX, marginY, marginX, marginY);
    barArea->addWidget(Bar);
    layout->addLayout(barArea, 1);
    layout->addWidget(Info_Panel);

    StopExecute();
    // The worker reports the store's problems when it starts; the window's
    // notes go to standard error only, like the worker's failure lines.
    if (const TStoreLoad found = DL.Load(settings_.StoreFile); !found.CloseError.empty()) {
        std::fprintf(stderr, "kvadrel: %s\n", found.CloseError.c_str());
    }
    CanExit = 1;
}

TfmMain::~TfmMain() {
    EndWorker();
}

QAction* TfmMain::AddAction(const QString& caption, void (TfmMain::*handler)(), QSize buttonSize) {
    auto* action = new QAction(caption, this);
    if (handler != nullptr) {
        connect(action, &QAction::triggered, this,
                [this, handler] { RunHandler([this, handler] { (this->*handler)(); }); });
    }
    RzToolbar1->addAction(action);
    RzToolbar1->widgetForAction(action)->setFixedSize(buttonSize);
    return action;
}

void TfmMain::SetStatus(const QString& text) {
    Panel->setText(text);
}

void TfmMain::StartExecute() {
    Start->setEnabled(false);
    Region->setEnabled(false);
    Exit->setEnabled(false);
    Stop->setEnabled(true);
    SetStatus(QStringLiteral("Программа запущена"));
    Delta = std::make_unique<TDelta>(paneStatus_, barProgress_, settings_);
    CanExit = 0;
}

void TfmMain::StopExecute() {
    if (Delta) {
        // A press of "Стоп" that arrives during the wait finds it disabled.
        Stop->setEnabled(false);
        SetStatus(QStringLiteral("Завершение работы. Подождите..."));
        // The wait lets no paint events through: show the message now.
        repaint();
        EndWorker();
    }
    Start->setEnabled(true);
    Region->setEnabled(true);
    Exit->setEnabled(true);
    Stop->setEnabled(false);
    SetStatus(QStringLiteral("Программа остановлена"));
    CanExit = 1;
}

void TfmMain::RegionExecute() {
    TfmRegion dialog(this, settings_.StoreFile);
    dialog.exec();
}

void TfmMain::ExitExecute() {
    close();
}

void TfmMain::EndWorker() {
    if (Delta) {
        Delta->Terminate();
        Delta->WaitFor();
        Delta.reset();
    }
}

void TfmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shown_) {
        shown_ = true;
        if (DL.AutoRun) {
            RunHandler([this] { StartExecute(); });
        }
    }
}

void TfmMain::closeEvent(QCloseEvent* event) {
    if (CanExit != 0) {
        event->accept();
    } else {
        event->ignore();
    }
}
