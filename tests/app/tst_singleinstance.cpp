// Only one copy runs: a later copy hands over to the running one and ends; a killed copy does not block; a copy
// that cannot be reached or cannot listen says so.

#include "HostFixture.h"

#include "app/SingleInstance.h"
#include "host/HostDatabase.h"
#include "host/Recordset.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestSingleInstance : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // A copy of the guard in a process of its own; false when it did not print the line.
    bool start(QProcess& p, const QString& key, const QByteArray& line = "ready")
    {
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(QCoreApplication::applicationDirPath() + "/singleinstance_child", {key, m_dir.path()});
        QByteArray seen;
        while (!seen.contains(line) && p.waitForReadyRead(20000))
            seen += p.readAllStandardOutput();
        return seen.contains(line);
    }

private Q_SLOTS:
    // A later copy hands over to the running one and ends; a killed copy leaves its lock and socket behind but
    // does not block the next; copies of another key do not meet.
    void laterCopyHandsOver()
    {
        QProcess killed, first, other, later;
        QVERIFY(start(killed, "guard"));
        killed.kill();
        QVERIFY(killed.waitForFinished(20000) && QFile::exists(m_dir.filePath("guard.lock")));
        QVERIFY(start(first, "guard") && start(other, "other") && start(later, "guard", "second"));
        QVERIFY(later.waitForFinished(20000) && later.exitCode() == 3);
        QVERIFY(first.waitForFinished(20000) && first.readAllStandardOutput().contains("activated"));
        other.kill();
        other.waitForFinished();
    }

    // A copy that cannot listen runs and says that later copies will not find it; a later copy finds the lock
    // taken, nobody answering, and says so.
    void unreachableCopy()
    {
        QVERIFY(QDir(m_dir.path()).mkpath("deaf.socket")); // no socket can be made there
        SingleInstance first("deaf", m_dir.path()), second("deaf", m_dir.path());
        QVERIFY(first.claim() && first.reason().contains("cannot listen"));
        QVERIFY(!second.claim());
        QVERIFY2(second.reason().startsWith("another copy holds " + first.lockPath() + " but does not answer"),
                 qPrintable(second.reason()));
    }

    // The add-in itself: a refused start ends at once with a reason on stderr and no window; a second copy
    // started while one runs ends at once and leaves the first running; its arguments are joined with one blank,
    // so no comma means registration.
    void addInProgram()
    {
        HostFixture host;
        host.writeSettings();
        host.createDatabases();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", m_dir.path());
        QProcess refused, first, second, registration;
        refused.setProcessEnvironment(env);
        refused.start(qEnvironmentVariable("R318_GUI"), {"Rostrel,TST.mdb,Squadrons.mdb"});
        QVERIFY(refused.waitForFinished(20000) && refused.exitStatus() == QProcess::NormalExit &&
                refused.exitCode() == 1 && !QFile::exists(m_dir.filePath("r318form.socket")));
        QVERIFY(refused.readAllStandardError().contains("fields"));
        for (QProcess* p : {&first, &second}) {
            p->setProcessEnvironment(env);
            p->start(qEnvironmentVariable("R318_GUI"), {host.commandLine()});
            // The window is up once the lock's socket exists.
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_dir.filePath("r318form.socket")), 20000);
        }
        QVERIFY(second.waitForFinished(20000) && second.exitCode() == 1);
        QVERIFY(second.readAllStandardError().contains("another copy is running; it was asked to come to the front"));
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        first.waitForFinished();
        registration.start(qEnvironmentVariable("R318_GUI"), {"Rostrel"});
        QVERIFY(registration.waitForFinished(20000) && registration.exitCode() == 0);
        HostDatabase db;
        QVERIFY(db.open(host.primaryPath()));
        QCOMPARE(Recordset::open(db, "SELECT * FROM FormsAddin WHERE Addinexe = 'r318form.exe'").recordCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
