// Only one copy runs: a later copy hands over to the running one and ends; a crashed copy does not block.

#include "HostFixture.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestSingleInstance : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString child() const { return QCoreApplication::applicationDirPath() + QStringLiteral("/singleinstance_child"); }

    void startChild(QProcess& p, const QString& key)
    {
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(child(), {key, m_dir.path()});
        QVERIFY(p.waitForStarted());
    }

    static bool waitForLine(QProcess& p, const QByteArray& line)
    {
        QByteArray seen;
        while (!seen.contains(line)) {
            if (!p.waitForReadyRead(20000))
                return false;
            seen += p.readAllStandardOutput();
        }
        return true;
    }

private Q_SLOTS:
    void laterCopyHandsOverAndEnds()
    {
        QProcess first;
        startChild(first, QStringLiteral("handover"));
        QVERIFY(waitForLine(first, "ready"));

        QProcess second;
        startChild(second, QStringLiteral("handover"));
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 3);
        QCOMPARE(second.readAllStandardOutput().trimmed(), QByteArray("second"));

        QVERIFY(waitForLine(first, "activated"));
        QVERIFY(first.waitForFinished(20000));
        QCOMPARE(first.exitCode(), 0);
    }

    void crashedCopyDoesNotBlock()
    {
        QProcess crashed;
        startChild(crashed, QStringLiteral("stale"));
        QVERIFY(waitForLine(crashed, "ready"));
        crashed.kill(); // no clean-up: the lock file and the socket stay behind
        QVERIFY(crashed.waitForFinished(20000));
        QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("stale.lock"))));

        QProcess next;
        startChild(next, QStringLiteral("stale"));
        QVERIFY(waitForLine(next, "ready"));

        // And the new copy answers later ones again.
        QProcess later;
        startChild(later, QStringLiteral("stale"));
        QVERIFY(later.waitForFinished(20000));
        QCOMPARE(later.exitCode(), 3);
        QVERIFY(waitForLine(next, "activated"));
        QVERIFY(next.waitForFinished(20000));
    }

    void differentKeysDoNotMeet()
    {
        QProcess a;
        startChild(a, QStringLiteral("one"));
        QVERIFY(waitForLine(a, "ready"));
        QProcess b;
        startChild(b, QStringLiteral("two"));
        QVERIFY(waitForLine(b, "ready"));
        a.kill();
        b.kill();
        a.waitForFinished();
        b.waitForFinished();
    }

    // The add-in itself: a second copy started while one runs ends at once and leaves the first running.
    void addInRefusesASecondCopy()
    {
        const QString gui = qEnvironmentVariable("R318_GUI");
        if (gui.isEmpty())
            QSKIP("R318_GUI is not set");
        HostFixture host;
        host.writeSettings();
        host.createDatabases();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
        QProcess first;
        first.setProcessEnvironment(env);
        first.start(gui, {host.commandLine()});
        QVERIFY(first.waitForStarted());
        // The window is up once the lock's socket exists and answers.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_dir.filePath(QStringLiteral("r318form.socket"))), 20000);

        QProcess second;
        second.setProcessEnvironment(env);
        second.start(gui, {host.commandLine()});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 1);
        QVERIFY(second.readAllStandardError().contains("another copy"));
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        first.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
