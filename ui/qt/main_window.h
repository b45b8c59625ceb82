// TfmMain: the program's main window, the Qt view of TMainForm: the toolbar
// with its actions, the LED bar and the status pane the worker reports to.
#pragma once

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>
#include <QWidget>
#include <memory>

#include "engine/delta.h"
#include "ui/forms/main_form.h"
#include "ui/qt/led_bar.h"
#include "ui/qt/qt_dispatcher.h"
#include "ui/qt/status_label.h"
#include "ui/qt/worker_view.h"

class TfmMain : public QWidget, private TMainView {
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

    // The actions' handlers (TMainForm says what they do).
    void StartExecute() { form_->StartExecute(); }
    void StopExecute() { form_->StopExecute(); }
    void RegionExecute() { form_->RegionExecute(); }
    void ExitExecute() { form_->ExitExecute(); }

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

    // What the window decides: CanExit, the worker.
    const TMainForm& Form() const { return *form_; }
    // The running worker; null when stopped.
    const TDelta* Worker() const { return form_->Worker(); }

  protected:
    // The first show presses "Старт" when the configuration asks for it.
    void showEvent(QShowEvent* event) override;
    // Refused silently while the worker runs.
    void closeEvent(QCloseEvent* event) override;

  private:
    // A toolbar button of the given size showing the caption; `handler` runs
    // when it is pressed.
    QAction* AddAction(const QString& caption, void (TfmMain::*handler)(), QSize buttonSize);

    // TMainView.
    void EnableActions(const TMainActions& enabled) override;
    void SetStatus(std::u16string_view text) override;
    TStatusPane& WorkerPane() override { return paneStatus_; }
    TProgressBar& WorkerBar() override { return barProgress_; }
    void RunUpdateList() override;
    void CloseWindow() override { close(); }
    void Note(const std::string& text) override;

    std::filesystem::path storeFile_;
    TPaneStatus paneStatus_;
    TBarProgress barProgress_;
    TQtDispatcher dispatcher_;  // outlives the form's worker
    std::unique_ptr<TMainForm> form_;
};
