#include "ui/forms/main_form.h"

#include <utility>

TMainForm::TMainForm(TMainView& view, TDeltaSettings settings)
    : view_(view), settings_(std::move(settings)) {
    StopExecute();
    if (const TStoreLoad found = DL.Load(settings_.StoreFile); !found.CloseError.empty()) {
        view_.Note(found.CloseError);
    }
    CanExit = 1;
}

TMainForm::~TMainForm() {
    EndWorker();
}

void TMainForm::FormShow() {
    if (!shown_) {
        shown_ = true;
        if (DL.AutoRun) {
            StartExecute();
        }
    }
}

void TMainForm::StartExecute() {
    view_.EnableActions({.Stop = true});
    view_.SetStatus(u"Программа запущена");
    Delta = std::make_unique<TDelta>(view_.WorkerPane(), view_.WorkerBar(), settings_);
    CanExit = 0;
}

void TMainForm::StopExecute() {
    // The wait runs the worker's hand-overs, and through them the window's
    // events: a second press arrives here while the first still waits.
    if (stopping_) {
        return;
    }
    if (Delta) {
        stopping_ = true;
        view_.SetStatus(u"Завершение работы. Подождите...");
        EndWorker();
        stopping_ = false;
    }
    view_.EnableActions({.Start = true, .Region = true, .Exit = true});
    view_.SetStatus(u"Программа остановлена");
    CanExit = 1;
}

void TMainForm::RegionExecute() {
    view_.RunUpdateList();
}

void TMainForm::ExitExecute() {
    view_.CloseWindow();
}

void TMainForm::EndWorker() {
    if (Delta) {
        Delta->Terminate();
        Delta->WaitFor();
        Delta.reset();
    }
}
