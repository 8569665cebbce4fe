// The access password for the commands that change the instrument or a
// stored file, asked as the program's window asks it: one helper for every
// such command of vardosk-cli.
#pragma once

#include <QStringList>

// Takes the option "--password-stdin" out of `args`, wherever it stands;
// true when it was there.
bool takePasswordStdinOption(QStringList &args);

// Whether the command may go on. The password the program keeps (Options ->
// Change password) must be given exactly: with --password-stdin as the first
// line of standard input; else, when standard input is a terminal, typed
// after a prompt without echo; when it is not, a set password refuses the
// command. An empty password lets the command go on without asking, unless
// --password-stdin gives one to compare. A refusal prints "Invalid
// password." on standard error; the caller then sends and writes nothing.
bool cliPasswordAccepted(bool fromStdin);
