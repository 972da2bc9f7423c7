#include "output/WebSubmission.h"

#include "base/Prompt.h"
#include "base/Text.h"
#include "host/HostSession.h"
#include "output/UploadFile.h"
#include "store/ReportIO.h"

#include <QDir>
#include <QStringList>

namespace {

bool isAsciiHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

} // namespace

QString ParseFilePath(const QString& path)
{
    QString result = path;
    result.replace(QLatin1Char('%'), QLatin1String("%25"));
    result.replace(QLatin1Char('+'), QLatin1String("%2B"));
    result.replace(QLatin1Char('&'), QLatin1String("%26"));
    return result;
}

QString SubmissionAddress(const HostSession& session)
{
    const ReportModel& m = session.model;
    return m.SubmitURL + QLatin1String("OrgNum=") + m.SquadronNoText + QLatin1String("&Email=") + m.SubOEmail +
           QLatin1String("&SubCert=") + m.SubOCert + QLatin1String("&FileName=") +
           ParseFilePath(QDir::toNativeSeparators(session.UploadFilePath)) + QLatin1String("&HistYear=") +
           m.ReportYear + QLatin1String("&PassWord=") + session.UserPW;
}

QUrl SubmissionUrl(const QString& address)
{
    // A "%" that starts no percent code (a password such as "50%off") is written as "%25" on its own: left
    // as it is, the tolerant parser would take every "%" of the address as literal and turn the codes made by
    // ParseFilePath into "%2526".
    const QByteArray utf8 = address.toUtf8();
    QByteArray text;
    text.reserve(utf8.size() + 8);
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const bool code = i + 2 < utf8.size() && isAsciiHexDigit(utf8.at(i + 1)) && isAsciiHexDigit(utf8.at(i + 2));
        if (utf8.at(i) == '%' && !code)
            text += "%25";
        else if (utf8.at(i) == '#') // a folder name's "#" would end the query and leave the rest as a fragment
            text += "%23";
        else
            text += utf8.at(i);
    }
    return QUrl::fromEncoded(text, QUrl::TolerantMode);
}

bool IsWebAddress(const QUrl& url)
{
    if (!url.isValid() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

SubmitOutcome SubmitReport(HostSession& session, Prompt& prompt, Browser& browser, const SaveReportHook& saveReport)
{
    const ReportModel& m = session.model;
    if (trimBlanks(m.SubOEmail).isEmpty()) {
        prompt.information(QStringLiteral("Cannot submit without submitting officer's email address"));
        return SubmitOutcome::MissingEmail;
    }
    if (session.UserPW.isEmpty()) {
        prompt.information(QStringLiteral("Cannot submit without updater password.\n"
                                          "Return to Rostrel and enter password in the authorization form."));
        return SubmitOutcome::MissingPassword;
    }

    // An upload file written from a report that could not be saved would send an older report.
    if (saveReport && !saveReport(session, prompt))
        return SubmitOutcome::SaveFailed;
    QString reason;
    if (!WriteUploadFile(session, &reason)) {
        prompt.warning(reason);
        return SubmitOutcome::UploadFailed;
    }

    const QUrl url = SubmissionUrl(SubmissionAddress(session));
    // The address comes from the report database: only web addresses reach the shell.
    if (!IsWebAddress(url) || !browser.open(url)) {
        prompt.plain(QStringLiteral("Unable to log on to website"));
        return SubmitOutcome::BrowserFailed;
    }
    return SubmitOutcome::Opened;
}

SubmitOutcome mnuSubmit(HostSession& session, Prompt& prompt, Browser& browser)
{
    return SubmitReport(session, prompt, browser, [](HostSession& s, Prompt& p) { return SaveReport(s, p); });
}
