#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class Prompt;
struct HostSession;

// Starts the system's web browser on an address. The submission goes through this seam so that tests can
// see the address without a browser.
class Browser
{
public:
    virtual ~Browser() = default;
    // False when the browser could not be started.
    virtual bool open(const QUrl& url) = 0;
};

// The path with "%" replaced by "%25", then "+" by "%2B", then "&" by "%26"; nothing else changes.
QString ParseFilePath(const QString& path);

// The submission address: the stored submission page followed by the query naming the squadron, the
// submitting officer, the upload file, the report year and the user's web password.
QString SubmissionAddress(const HostSession& session);

// The address as a URL, taken as built: percent codes stay as they are; only characters a URL cannot hold
// (blanks, letters beyond ASCII, a "%" that starts no percent code) and "#", which would end the query, are
// percent-encoded.
QUrl SubmissionUrl(const QString& address);

// True for an absolute http or https address with a host: the only addresses handed to the browser.
bool IsWebAddress(const QUrl& url);

enum class SubmitOutcome {
    MissingEmail,    // nothing saved or written
    MissingPassword, // nothing saved or written
    SaveFailed,      // the report could not be saved (the save showed why); nothing written
    UploadFailed,    // saved; the upload file could not be written (warning shown)
    BrowserFailed,   // saved and written; "Unable to log on to website" shown
    Opened,          // saved, written and handed to the browser
};

// Saves the report model into the report database; false (after telling the user why) when it could not.
using SaveReportHook = std::function<bool(HostSession&, Prompt&)>;

// "Submit Report Via Website": checks the submitting officer's e-mail address and the web password, saves
// the report, writes the upload file and opens the browser on the submission address. An empty hook skips
// the save.
SubmitOutcome SubmitReport(HostSession& session, Prompt& prompt, Browser& browser, const SaveReportHook& saveReport);

// The menu item's action, with the report store's SaveReport.
SubmitOutcome mnuSubmit(HostSession& session, Prompt& prompt, Browser& browser);
