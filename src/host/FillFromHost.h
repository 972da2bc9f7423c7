#pragma once

#include "host/HostLookups.h"

#include <QDate>
#include <QString>

class Prompt;
struct HostSession;

// What Fill from host leaves for the window. When filled, the window shows the new counts, the submitting
// officer (historian) and the officer list (OptGrid 0 selected).
struct FillOutcome
{
    bool filled = false;     // false: missing watch dates, or the question was not answered Yes
    bool hostFailed = false; // a host query failed: what it would have changed kept its value (the user was told)
    QString focus;           // the date box that wants the focus when the watch dates were missing
    HistorianOutcome historian;
};

// "Fill From Rostrel": after the watch-date guard and the question, takes from the host the officer list, the
// submitting officer, the district and national assignments, the active members, the merit marks, the new senior
// members and the eleven course counts the host records. Nothing else of the report changes; nothing is saved.
// Values whose host queries fail keep theirs; the failures are shown in one warning at the end.
FillOutcome FillFromHost(HostSession& session, Prompt& prompt);

// What the look-ups after loading a report did.
struct LoadLookupsOutcome
{
    bool subDateSet = false; // the empty submission date became today's date
    bool hostFailed = false; // a host query failed: what it would have changed kept its value
    HistorianOutcome historian;
};

// The look-ups that follow loading a report into the model, in the order of the load: the active members when
// Misc.No_Active is 0; today's date as the submission date when it is empty; the merit marks when Misc.No_MM is 0;
// the submitting officer when the report is not an archive and no submitting officer is named. The host queries
// that fail are noted on the host database; the form with a prompt shows them.
LoadLookupsOutcome LoadTimeLookups(HostSession& session, bool archive, const QDate& today = QDate::currentDate());
LoadLookupsOutcome LoadTimeLookups(HostSession& session, bool archive, Prompt& prompt,
                                   const QDate& today = QDate::currentDate());
