#include "ui/qt/main_window.h"

#include <QCloseEvent>
#include <QShowEvent>
#include <QVBoxLayout>
#include <cstdio>
#include <utility>

#include "ui/qt/ansi_text.h"
#include "ui/qt/application_title.h"
#include "ui/qt/font_scale.h"
#include "ui/qt/region_dialog.h"
#include "ui/qt/uncaught_error.h"

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
      storeFile_(settings.StoreFile),
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

    TMainView& view = *this;
    form_ = std::make_unique<TMainForm>(view, std::move(settings));
}

TfmMain::~TfmMain() = default;

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
    // A wait may follow, which lets no paint events through: show it now.
    Panel->repaint();
}

void TfmMain::SetStatus(std::u16string_view text) {
    SetStatus(FromU16(text));
}

void TfmMain::EnableActions(const TMainActions& enabled) {
    Start->setEnabled(enabled.Start);
    Stop->setEnabled(enabled.Stop);
    Region->setEnabled(enabled.Region);
    Help->setEnabled(enabled.Help);
    Exit->setEnabled(enabled.Exit);
}

void TfmMain::RunUpdateList() {
    TfmRegion dialog(this, storeFile_);
    dialog.exec();
}

// The worker reports the store's problems when it starts; the window's notes
// go to standard error only, like the worker's failure lines.
void TfmMain::Note(const std::string& text) {
    std::fprintf(stderr, "kvadrel: %s\n", text.c_str());
}

void TfmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    RunHandler([this] { form_->FormShow(); });
}

void TfmMain::closeEvent(QCloseEvent* event) {
    if (form_->CloseQuery()) {
        event->accept();
    } else {
        event->ignore();
    }
}
