// Web submission through the desktop: "Submit Report Via Website" on a virtual X display, the desktop's URL
// opener (xdg-open) and a real headless browser, which asks this test's loopback server for the address that
// the submission built.

#include "ScriptedPrompt.h"

#include "app/Session.h"
#include "app/Startup.h"
#include "base/SqlConnection.h"
#include "demo/DemoHost.h"
#include "editor/DesktopBrowser.h"
#include "editor/R318grid.h"

#include <QAction>
#include <QDir>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <unistd.h>

namespace {

bool writeFile(const QString& path, const QString& text)
{
    QFile f(path);
    return QDir().mkpath(QFileInfo(path).path()) && f.open(QIODevice::WriteOnly) && f.write(text.toUtf8()) >= 0;
}

// The default web browser of this test's desktop: a script that starts headless Chromium in a process group of
// its own (timeout makes one and ends it after a minute), its process id in browser.pid.
class TestBrowser
{
public:
    bool install()
    {
        const QString dir = m_dir.path();
        const QString script = dir + "/browser.sh";
        const bool written =
            writeFile(script, "#!/bin/sh\necho $$ >" + dir +
                                  "/browser.pid\nexec timeout 60 chromium --headless "
                                  "--no-sandbox --disable-gpu --user-data-dir=" +
                                  dir + "/profile --dump-dom \"$1\" >" + dir + "/dom.html 2>/dev/null\n") &&
            QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) &&
            writeFile(dir + "/data/applications/r318-test-browser.desktop",
                      "[Desktop Entry]\nType=Application\nName=Test browser\nExec=" + script +
                          " %u\nMimeType=x-scheme-handler/http;x-scheme-handler/https;\n") &&
            writeFile(dir + "/config/mimeapps.list", "[Default Applications]\n"
                                                     "x-scheme-handler/http=r318-test-browser.desktop\n"
                                                     "x-scheme-handler/https=r318-test-browser.desktop\n");
        for (const char* var : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "BROWSER"})
            qunsetenv(var);
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir + "/config"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir + "/data"));
        qputenv("HOME", QFile::encodeName(dir)); // the browser's own files stay in here
        return written;
    }
    // The browser's process id once it has started, else 0.
    pid_t pid() const
    {
        QFile f(m_dir.filePath("browser.pid"));
        return f.open(QIODevice::ReadOnly) ? pid_t(f.readAll().trimmed().toInt()) : 0;
    }
    bool running() const { return pid() > 0 && ::kill(pid(), 0) == 0; }
    // Ends the browser's process group with every helper it left.
    ~TestBrowser()
    {
        const pid_t p = pid();
        if (p > 0 && ::getpgid(p) == p && p != ::getpgrp())
            ::kill(-p, SIGKILL);
        qputenv("HOME", m_home);
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_home = qgetenv("HOME");
};

} // namespace

class TestWebSubmit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The demo host's folder holds a percent sign, a plus, an ampersand and blanks: the address must reach the
    // page through xdg-open and the browser with its percent codes intact.
    void submit()
    {
        // The host's submission page (in its squadrons database) is this test's server.
        QTcpServer http;
        QVERIFY(http.listen(QHostAddress::LocalHost));
        QByteArray request;
        connect(&http, &QTcpServer::newConnection, &http, [&] {
            QTcpSocket* s = http.nextPendingConnection();
            connect(s, &QTcpSocket::readyRead, s, [&request, s] {
                request += s->readAll();
                if (request.contains("\r\n\r\n")) {
                    s->write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<html><body>Received</body></html>");
                    s->disconnectFromHost();
                }
            });
        });
        const QString page = QStringLiteral("http://127.0.0.1:%1/r318/submit.html?").arg(http.serverPort());

        QTemporaryDir dir;
        const QString demo = dir.filePath(QStringLiteral("Alder %2B+ & Sound"));
        QString error;
        QVERIFY2(CreateDemoHost(demo, &error), qPrintable(error));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(DemoHost::configDir(demo)));
        {
            SqlConnection squadrons(DemoHost::dataDir(demo) + DemoHost::kSquadronsDb, SqlConnection::Mode::ReadWrite);
            QVERIFY2(squadrons.exec(QStringLiteral("UPDATE url_list SET historian = ?"), {page}),
                     qPrintable(squadrons.error()));
        }

        Session session;
        ScriptedPrompt prompt;
        DesktopBrowser desktop;
        QVERIFY(Startup::Main(session, DemoHost::hostLine(), prompt).kind == Startup::Outcome::Kind::Ready);
        R318grid window(session, prompt, desktop);
        window.show();
        QVERIFY(QTest::qWaitFor([&] { return window.isLoaded(); }));
        // The host's settings are read by now; the desktop's settings are the test's own from here on.
        TestBrowser browser;
        QVERIFY(browser.install());

        window.findChild<QAction*>(QStringLiteral("mnuSubmit"))->trigger();
        // The menu item returns at once: the window does not wait for the browser.
        QVERIFY(browser.pid() == 0 || browser.running());
        QCOMPARE(prompt.texts(), QStringList());
        QVERIFY2(QTest::qWaitFor([&] { return request.contains("\r\n\r\n"); }, 90000), "no request arrived");
        // "GET /r318/submit.html?OrgNum=...&PassWord=... HTTP/1.1"
        const QByteArray target = request.left(request.indexOf("\r\n")).split(' ').value(1);
        QCOMPARE(target.left(target.indexOf('?')), QByteArray("/r318/submit.html"));
        QStringList pairs;
        for (const QByteArray& pair : target.mid(target.indexOf('?') + 1).split('&'))
            pairs << QString::fromUtf8(pair.left(pair.indexOf('=') + 1) +
                                       QByteArray::fromPercentEncoding(pair.mid(pair.indexOf('=') + 1)));
        const ReportModel& m = session.model;
        QCOMPARE(pairs, (QStringList{"OrgNum=0143", "Email=" + m.SubOEmail, "SubCert=" + m.SubOCert,
                                     "FileName=" + session.UploadFilePath, "HistYear=" + m.ReportYear,
                                     "PassWord=" + QString::fromLatin1(DemoHost::kUserPw)}));
        // Percent codes as the submission makes them; a "+" would reach the page as a blank.
        const QByteArray raw = target.mid(target.indexOf("FileName="));
        QVERIFY2(raw.contains("/Alder%20%252B%2B%20%26%20Sound/data/Rostrelv3/R318_Upload.txt&"), raw);
        QVERIFY(QFile::exists(session.UploadFilePath));
    }
};

QTEST_MAIN(TestWebSubmit)
#include "tst_websubmit.moc"
