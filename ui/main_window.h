// TfmMain: the program's main window. It starts and stops the converter
// worker, shows the worker's status text and progress, and refuses to close
// while the worker runs.
#pragma once

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "config/descriptors.h"
#include "engine/delta.h"
#include "ui/led_bar.h"
#include "ui/qt_dispatcher.h"
#include "ui/status_label.h"
#include "ui/worker_view.h"

class TfmMain : public QWidget {
    Q_OBJECT

  public:
    // `settings` are those of every worker this window starts; the AutoRun
    // flag is read from its store file once, here. Comes up stopped.
    explicit TfmMain(TDeltaSettings settings = TDeltaSettings::Defaults(),
                     QWidget* parent = nullptr);
    // Stops a worker still running.
    ~TfmMain() override;

    // Shows the text in the status pane.
    void SetStatus(const QString& text);

    // "Старт": starts the worker; the window is running until "Стоп".
    void StartExecute();
    // "Стоп": asks the worker to end, waits for it while running its last
    // hand-overs, deletes it and puts the window into the stopped state.
    void StopExecute();
    // "Настройка": the update list dialog, run modally; it stores its changes
    // itself, and they reach the next worker (AutoRun the next program start).
    void RegionExecute();
    // "Выход": closes the window, which ends the program.
    void ExitExecute();

    // The controls.
    TLedBar* Bar;
    TStatusLabel* Panel;
    QToolBar* RzToolbar1;
    QStatusBar* Info_Panel;
    // The actions.
    QAction* Start;
    QAction* Stop;
    QAction* Region;
    QAction* Help;
    QAction* Exit;

    // Non-zero when the window may be closed; 0 while the worker runs.
    int32_t CanExit = 0;

    // The running worker; null when stopped.
    const TDelta* Worker() const { return Delta.get(); }

  protected:
    // The first show presses "Старт" when the configuration asks for it.
    void showEvent(QShowEvent* event) override;
    // Refused silently while the worker runs.
    void closeEvent(QCloseEvent* event) override;

  private:
    // A toolbar button of the given size showing the caption; `handler` runs
    // when it is pressed.
    QAction* AddAction(const QString& caption, void (TfmMain::*handler)(), QSize buttonSize);
    // Ends the worker, if any: the wait keeps running its hand-overs.
    void EndWorker();

    TDeltaSettings settings_;
    TDL DL;
    TPaneStatus paneStatus_;
    TBarProgress barProgress_;
    TQtDispatcher dispatcher_;  // outlives the worker
    std::unique_ptr<TDelta> Delta;
    bool shown_ = false;
};
