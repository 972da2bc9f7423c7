#pragma once

#include <QString>

// The help topics the program opens: the Help menu, F1 in the main window, in the archive chooser and in the
// preview window.
enum HelpTopic { HelpContents = 1, HelpMainWindow = 2, HelpArchiveChooser = 13, HelpPreview = 14 };

// The program's own short help for a topic, as a whole HTML page, shown when the help file is missing or has no
// page for the topic; the note (plain text, may be empty) stands at its top. A topic without a page of its own
// gets the contents page.
QString BuiltInHelpPage(int topic, const QString& note);
