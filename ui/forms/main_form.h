// TMainForm: what the main window decides. It starts and stops the converter
// worker, keeps the actions and the status pane in step with it, and refuses
// to close while the worker runs. The toolkit installs the hand-over to its
// main thread (platform::InstallMainThreadDispatcher) for the form's lifetime.
#pragma once

#include <cstdint>
#include <memory>

#include "config/descriptors.h"
#include "engine/delta.h"
#include "ui/forms/main_view.h"

class TMainForm {
  public:
    // `settings` are those of every worker the form starts; the AutoRun flag
    // is read from its store file once, here. Comes up stopped.
    TMainForm(TMainView& view, TDeltaSettings settings);
    // Stops a worker still running.
    ~TMainForm();

    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    // The window is shown: the first time, "Старт" when AutoRun is set.
    void FormShow();
    // "Старт": starts the worker; the window is running until "Стоп".
    void StartExecute();
    // "Стоп": asks the worker to end, waits for it while running its last
    // hand-overs, deletes it and puts the window into the stopped state. A
    // press while it waits does nothing.
    void StopExecute();
    // "Настройка": the update list; its changes reach the next worker.
    void RegionExecute();
    // "Выход".
    void ExitExecute();
    // Whether the window may close now; a refused close shows nothing.
    bool CloseQuery() const { return CanExit != 0; }

    // The running worker; null when stopped.
    const TDelta* Worker() const { return Delta.get(); }

    // Non-zero when the window may be closed; 0 while the worker runs.
    int32_t CanExit = 0;

  private:
    // Ends the worker, if any: the wait keeps running its hand-overs.
    void EndWorker();

    TMainView& view_;
    TDeltaSettings settings_;
    TDL DL;
    std::unique_ptr<TDelta> Delta;
    bool stopping_ = false;
    bool shown_ = false;
};
