#pragma once

#include <QString>

// The program runs a command-line job (or --help, --version) when it is started with any
// argument, and opens its window only when started without one, with nothing but
// --update-server URL, or with nothing but the path of an existing file to open.
bool startsCommandLine(int argc, char** argv);

// The base address given with --update-server URL (or --update-server=URL) among the
// program's arguments; empty when none is given.
QString updateServerArgument(int argc, char** argv);
// The file the program was started with to open (a patient database), or empty.
QString openedFileArgument(int argc, char** argv);

// Runs the command line on a QGuiApplication of its own, which must not exist yet; no widget
// is ever created. With no display to talk to, the job runs on the offscreen platform.
// Answers the exit status.
int runCommandLine(int argc, char** argv);
