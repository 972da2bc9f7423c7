#pragma once

// The host look-ups answer some questions more cheaply than by running their statements as written and reading
// every row: a count is counted by the engine, a list that looks at its first rows only reads those, and Fill
// from host asks for the members it will look up in one go instead of reading the whole member table. Every
// shortcut gives the answers of the statements as written; with the shortcuts off (the tests that prove it) the
// statements run as written.
namespace HostShortcuts {

bool enabled();
void setEnabled(bool on);

} // namespace HostShortcuts
