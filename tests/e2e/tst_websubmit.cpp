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
    void submit_data()
    {
        QTest::addColumn<QString>("folder"); // the demo host's folder
        QTest::addColumn<QString>("server"); // "up", "down", or "ftp" for an address that is not a web address
        QTest::addColumn<QString>("sent");   // a part of the FileName value as it arrives

        const char* rows[][4] = {
            {"plain path", "demo", "up", "/demo/data/Rostrelv3/R318_Upload.txt"},
            {"path with %, + and &", "Alder %2B+ & Sound", "up", "/Alder%20%252B%2B%20%26%20Sound/data/"},
            {"server down", "demo", "down", ""},
            {"not a web address", "demo", "ftp", ""},
        };
        for (const auto& r : rows)
            QTest::newRow(r[0]) << QString(r[1]) << QString(r[2]) << QString(r[3]);
    }

    void submit()
    {
        QFETCH(QString, folder);
        QFETCH(QString, server);
        QFETCH(QString, sent);

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
        const QString page = QStringLiteral("%1://127.0.0.1:%2/r318/submit.html?")
                                 .arg(server == "ftp" ? "ftp" : "http")
                                 .arg(http.serverPort());
        if (server == "down")
            http.close();

        QTemporaryDir dir;
        const QString demo = dir.filePath(folder);
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
        if (server == "ftp") {
            QCOMPARE(prompt.texts(), QStringList{"Unable to log on to website"});
            QCOMPARE(browser.pid(), 0);
            return;
        }
        // The menu item returns at once: the window does not wait for the browser.
        QVERIFY(browser.pid() == 0 || browser.running());
        QCOMPARE(prompt.texts(), QStringList());
        if (server == "down") {
            // The browser finds nobody and gives up by itself.
            QVERIFY2(QTest::qWaitFor([&] { return browser.pid() > 0 && !browser.running(); }, 90000),
                     "the browser did not start or did not end");
            return;
        }

        QVERIFY2(QTest::qWaitFor([&] { return request.contains("\r\n\r\n"); }, 90000), "no request arrived");
        // "GET /r318/submit.html?OrgNum=...&PassWord=... HTTP/1.1"
        const QByteArray target = request.left(request.indexOf("\r\n")).split(' ').value(1);
        QCOMPARE(target.left(target.indexOf('?')), QByteArray("/r318/submit.html"));
        QStringList keys;
        QMap<QString, QByteArray> raw;
        for (const QByteArray& pair : target.mid(target.indexOf('?') + 1).split('&')) {
            keys << QString::fromUtf8(pair.left(pair.indexOf('=')));
            raw[keys.last()] = pair.mid(pair.indexOf('=') + 1);
        }
        auto value = [&](const char* key) {
            return QString::fromUtf8(QByteArray::fromPercentEncoding(raw[key]));
        };
        QCOMPARE(keys, (QStringList{"OrgNum", "Email", "SubCert", "FileName", "HistYear", "PassWord"}));
        QCOMPARE(value("OrgNum"), QStringLiteral("0143"));
        QCOMPARE(value("Email"), session.model.SubOEmail);
        QCOMPARE(value("SubCert"), session.model.SubOCert);
        QCOMPARE(value("FileName"), session.UploadFilePath);
        QCOMPARE(value("HistYear"), session.model.ReportYear);
        QCOMPARE(value("PassWord"), QString::fromLatin1(DemoHost::kUserPw));
        // Percent codes as the submission makes them; a "+" would reach the page as a blank.
        QVERIFY2(raw["FileName"].contains(sent.toUtf8()) && !raw["FileName"].contains('+'), raw["FileName"]);
        QVERIFY(QFile::exists(session.UploadFilePath));
    }
};

QTEST_MAIN(TestWebSubmit)
#include "tst_websubmit.moc"
