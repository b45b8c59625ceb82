// The session and database objects of the table layer. A session only
// carries the run's name; a database stands for one target directory.
#pragma once

#include <utility>

#include "platform/files/file_system.h"
#include "platform/text/codepage.h"

class TSession {
  public:
    explicit TSession(AnsiString sessionName) : SessionName(std::move(sessionName)) {}

    // The run's time-stamp name, which ties the run's databases and tables to
    // it; unique within the process, so that two runs never share a session.
    const AnsiString SessionName;
};

class TDatabase {
  public:
    AnsiString DatabaseName;  // the target directory, with or without a final '/'
    AnsiString SessionName;  // the session of the run it belongs to
    // A directory of dBASE tables asks for no login and holds nothing open
    // between tables; the table work sets both off, as a database of a run is.
    bool LoginPrompt = false;
    bool KeepConnection = false;
    platform::FileSystem* Files = &platform::SystemFileSystem();

    // Connects to the directory named by DatabaseName. Throws
    // std::runtime_error when it is empty or not an existing directory.
    void Open();
    bool Connected() const { return connected_; }

  private:
    bool connected_ = false;
};
