#include "HelpPages.h"

namespace {

const char kContents[] = R"(<h2>The R-318 form</h2>
<p>This program prepares your squadron's annual Squadron History Report, form R-318, for one watch year. It reads
the members, committee assignments and merit marks from Rostrel and keeps the report in a file of its own in
Rostrel's data folder. Everything you type is kept: leaving the program always saves.</p>
<h3>A year's report, step by step</h3>
<ol>
<li>Enter the watch year's first and last day in <b>From</b> and <b>To</b> (digits <i>mmddyy</i>, for example
030125 for March 1, 2025).</li>
<li>Choose <b>File, Fill From Rostrel</b> to take the officers, assignments, counts and course completions from
Rostrel.</li>
<li>Check the names in <b>Members Recognized By Name</b>, add names from the <b>Rostrel Member List</b> and write
the texts under <b>Activities and Awards</b>.</li>
<li>Choose <b>Report, Preview and Print</b> to look at the pages and print them.</li>
<li>Choose <b>Report, Submit Report Via Website</b> to send the report.</li>
<li>Choose <b>File, Archive R-318 Form</b> to keep a copy of the year's report.</li>
</ol>
<h3>The menus</h3>
<p><b>File</b>: save or abandon the changes since the last save, archive the report, open, close, replace or
delete archives, start a new report, fill the report from Rostrel, read Rostrel's data again, and leave.<br>
<b>Report</b>: preview and print, submit through the web site, and check the spelling of the activity text
shown.<br>
<b>Help</b>: the program's version, and this help.</p>
<p>Press F1 in the main window, the archive chooser or the preview window for help on that window.</p>
)";

const char kMainWindow[] = R"(<h2>The main window</h2>
<p>The window shows the whole report at once.</p>
<ul>
<li><b>Squadron Data</b>: the submission date and the watch year (type the digits <i>mmddyy</i>), the number
of active members, merit marks and new senior members (the small buttons ask Rostrel), the squadron
publication and the submitting officer with title and e-mail address.</li>
<li><b>Activities and Awards</b>: pick a kind of activity or award; the box below shows its text and the frame's
title says what to write. <b>Report, Spell Check</b> checks the text shown.</li>
<li><b>Rostrel Member List</b>: type the first letters of a last name in the search box to find a member. <b>Add</b> puts the member into the selected row of the grid, or into the activity text when you were
writing there; <b>Remove</b> empties the selected row.</li>
<li><b>Results of Education Classes</b>: the number of course completions; the buttons count them from
Rostrel.</li>
<li><b>Members Recognized By Name</b>: pick the officers or a category of recognition to see its grid.</li>
</ul>
<h3>Keys</h3>
<table border="1" cellpadding="3" cellspacing="0">
<tr><td>F1</td><td>this help</td></tr>
<tr><td>Tab, Shift+Tab</td><td>the next or the previous box</td></tr>
<tr><td>Enter in the member search box</td><td>moves to the member list</td></tr>
<tr><td>Enter or a double click in the grid</td><td>edits the selected cell</td></tr>
<tr><td>Enter or Tab while editing a cell</td><td>keeps the change</td></tr>
<tr><td>Esc while editing a cell</td><td>drops the change</td></tr>
</table>
<p>A double quote typed anywhere becomes an apostrophe.</p>
)";

const char kArchiveChooser[] = R"(<h2>Choosing an archive</h2>
<p>The list shows the archived reports of your squadron (the report you are working on is not listed). Click a
name to see where the file lies and when it was created, last opened and last changed.</p>
<ul>
<li>Opened from <b>File, Open Archive</b>: <b>Open Database</b> shows the chosen archive in the main window in
place of the current report; <b>File, Close Archive</b> returns to the current report.</li>
<li>Opened from <b>File, Delete Unwanted Archives</b>: <b>Delete File</b> deletes the chosen archive and its
backup copy, to the recycle bin or for good, as chosen below the list. Tick <b>No Confirmation Necessary</b> to
delete without being asked.</li>
</ul>
<p><b>Cancel</b> or <b>Close</b> closes the chooser.</p>
)";

const char kPreview[] = R"(<h2>Print Preview</h2>
<p>The window shows the report page by page as it will be printed.</p>
<ul>
<li><b>Next Page</b> and <b>Previous Page</b> turn the pages; after the last page comes the first.</li>
<li>Double-click the page to see it at full size, and again to see the whole page. At full size, drag the page
with the left mouse button to bring any part of it into view.</li>
<li><b>Print Page</b> prints the page shown; <b>Print All</b> prints the whole report. Both let you choose the
printer first.</li>
<li><b>Close</b> returns to the main window.</li>
</ul>
)";

QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

} // namespace

QString BuiltInHelpPage(int topic, const QString& note)
{
    const char* body = kContents;
    switch (topic) {
    case HelpMainWindow:
        body = kMainWindow;
        break;
    case HelpArchiveChooser:
        body = kArchiveChooser;
        break;
    case HelpPreview:
        body = kPreview;
        break;
    default:
        break;
    }
    QString page = QStringLiteral("<html><body>");
    if (!note.isEmpty())
        page += QStringLiteral("<p><i>") + escaped(note) + QStringLiteral("</i></p><hr>");
    page += QString::fromUtf8(body);
    page += QStringLiteral("</body></html>");
    return page;
}
