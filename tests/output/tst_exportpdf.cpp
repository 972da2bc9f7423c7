// "export-pdf" run as the user runs it: every page of the report in a PDF file on Letter paper.

#include "HostFixture.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestExportPdf : public QObject
{
    Q_OBJECT

    QString m_cli;

    static QString run(const QString& program, const QStringList& args, int* status = nullptr)
    {
        QProcess p;
        p.start(program, args);
        const bool finished = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit;
        if (status)
            *status = finished ? p.exitCode() : -1;
        return QString::fromUtf8(p.readAllStandardOutput()) + QString::fromUtf8(p.readAllStandardError());
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_cli = qEnvironmentVariable("R318_CLI");
        if (m_cli.isEmpty())
            QSKIP("R318_CLI does not name the command-line tool");
        for (const char* tool : {"pdfinfo", "pdftotext"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP("the PDF tools are not installed");
        }
    }

    void allPagesOnLetterPaper()
    {
        HostFixture fx;
        fx.writeSettings();
        fx.createDatabases();
        const QStringList host{QStringLiteral("--host"), fx.commandLine()};
        int status = -1;
        // A meetings text of about 100 lines runs from page 4 onto page 5; the rest of the report fills page 6.
        const QString meetings = QStringLiteral("The squadron met on the first Tuesday of each month. ").repeated(200);
        QString out = run(m_cli,
                          host + QStringList{"set", "Misc.From_Date", "090119", "Misc.To_Date", "083120",
                                             "Activities.Meetings", meetings},
                          &status);
        QVERIFY2(status == 0, qPrintable(out));

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        out = run(m_cli, host + QStringList{"export-pdf", pdf}, &status);
        QVERIFY2(status == 0, qPrintable(out));
        QVERIFY2(out.contains("(6 pages)"), qPrintable(out));

        const QString info = run(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(info.contains(QRegularExpression("Pages:\\s+6\\n")), qPrintable(info));
        QVERIFY2(info.contains("612 x 792 pts (letter)"), qPrintable(info));

        const QString one = run(QStringLiteral("pdftotext"), {"-f", "1", "-l", "1", pdf, "-"});
        QVERIFY2(one.contains("ANNUAL SQUADRON HISTORY REPORT FOR YEAR 2020"), qPrintable(one));
        QVERIFY2(one.contains(QRegularExpression("SQUADRON Test Squadron +SQUADRON No\\. 0007")), qPrintable(one));
        QVERIFY2(one.contains("Page 1 of 6 pages"), qPrintable(one));
        const QString five = run(QStringLiteral("pdftotext"), {"-f", "5", "-l", "5", pdf, "-"});
        QVERIFY2(five.startsWith("Continued:"), qPrintable(five));
    }
};

QTEST_GUILESS_MAIN(TestExportPdf)
#include "tst_exportpdf.moc"
