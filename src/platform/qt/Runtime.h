// The qt backend's process-wide state: the QApplication, made by TApplication::Initialize (or
// the first window) and never destroyed. Qt's own statics go at exit in an order the program
// does not control, and a QApplication destroyed after them crashes.
#pragma once

class QApplication;

namespace tk::qt {

// The application, made on first use.
QApplication& TheApplication();

// True once the process has begun to exit: from then on no Qt object may be destroyed, as
// the platform plugin may already be gone (windows are left to the end of the process).
bool Exiting();

// Gives windows the program's icon, once, right before the first window or box shows: a hidden
// run never pays for decoding it.
void PrepareToShow();

// MessageLoop.cpp: the loop's object, made once with the application.
void StartLoop();
// Notifiers of unwatched sockets are kept until no socket callback is running, then freed here.
void FreeRetiredNotifiers();

} // namespace tk::qt
