// What the main window shows, as its form tells it: the toolkit's window
// (ui/qt, ui/win32) implements it.
#pragma once

#include <string>
#include <string_view>

#include "engine/status_view.h"

// Which of the five actions of `AL` can be used.
struct TMainActions {
    bool Start = false;
    bool Stop = false;
    bool Region = false;
    bool Help = false;
    bool Exit = false;

    friend bool operator==(const TMainActions&, const TMainActions&) = default;
};

class TMainView {
  public:
    virtual ~TMainView() = default;

    virtual void EnableActions(const TMainActions& enabled) = 0;
    // The status pane's text; shown at once, also when a wait follows.
    virtual void SetStatus(std::u16string_view text) = 0;
    // Where the worker reports; both live as long as the view.
    virtual TStatusPane& WorkerPane() = 0;
    virtual TProgressBar& WorkerBar() = 0;
    // "Настройка": runs the update list dialog modally.
    virtual void RunUpdateList() = 0;
    // "Выход": asks the window to close; the form's CloseQuery decides.
    virtual void CloseWindow() = 0;
    // A problem of the configuration store met while the window was made;
    // not shown in the window (the worker reports the store when it starts).
    virtual void Note(const std::string& text) = 0;
};
