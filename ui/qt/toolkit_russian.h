// Russian for the toolkit's own texts (edit boxes' context menus, standard
// buttons and the like), from the toolkit's translations that the system has
// installed.
#pragma once

class QCoreApplication;

// Installs them for the application's lifetime. Without them the program
// still runs, with those texts in English; the reason goes to standard error.
void InstallToolkitRussian(QCoreApplication& application);
