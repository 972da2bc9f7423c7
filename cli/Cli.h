#pragma once

#include <QStringList>
#include <QTextStream>

class Prompt;
struct Session;

// One command of r318form-cli. Commands that need the host run after the add-in's own start-up (host
// settings, host databases, report database) on the command line given with --host.
struct CliContext
{
    Session* session = nullptr; // null for commands that need no host
    QStringList args;           // the command's own arguments
    Prompt* prompt = nullptr;
    QTextStream* out = nullptr;
    QTextStream* err = nullptr;
};

using CliHandler = int (*)(CliContext&);

struct CliCommand
{
    const char* name;
    bool needsHost;
    CliHandler run;
    const char* usage;
    bool drawsPages = false; // needs fonts and the printer: runs with a graphical application object
};

// Registers a command at static initialisation (each command lives in a file of its own).
struct CliRegistrar
{
    explicit CliRegistrar(const CliCommand& command);
};

const QList<CliCommand>& cliCommands();

// Loads the stored report into the session's model; false (the reason written to stderr) when the file cannot
// be read. With lookups, the look-ups that follow loading a report in the window run too.
bool loadStoredReport(CliContext& c, bool lookups);
