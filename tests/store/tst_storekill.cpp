// A process killed at a random moment while it saves (or saves and compacts) the report over and over leaves a
// report that the next start opens with the previous or the new content, never a mix and never an empty report,
// a sound backup copy, and no stray file that could be taken for a report or an archive. The test program starts
// itself as the child: "tst_storekill --child save|compact DIR".

#include "ReportFixture.h"
#include "store/ReportDatabase.h"
#include "store/ReportFile.h"
#include "store/ReportIO.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstring>

using namespace ReportFixture;

namespace {

// Every text of the model that carries the generation stamp: some in each table, and all of the longer lists.
template <typename Model, typename F> void stamped(Model& m, F f)
{
    f(m.PubName);
    for (auto& t : m.ActivityText)
        f(t);
    for (auto& o : m.Officers) {
        if (!o.Heading)
            f(o.Last);
    }
    for (auto& list : m.Recognized) {
        for (auto& entry : list)
            f(entry.Last);
    }
}

// Marks the model with generation `gen`: a save that mixed two generations shows at once. The activity texts
// change length so that the file grows and shrinks and compaction has work to do.
void stamp(ReportModel& m, int gen)
{
    m.NoMM = gen;
    stamped(m, [gen](QString& t) { t = QStringLiteral("G%1").arg(gen); });
    for (size_t k = 0; k < m.ActivityText.size(); ++k)
        m.ActivityText[k] += QLatin1Char(' ') + QString(int((gen * 7 + int(k) * 3) % 11) * 7000, QLatin1Char('a'));
}

// The one generation in the report file at `path`; -1 for a mix or a file that does not load.
int generationIn(const QString& dir, const QString& path)
{
    Session s;
    setUp(s, dir);
    s.CurrentDBPath = path;
    QSet<int> found{LoadReport(s) ? s.model.NoMM : -1};
    stamped(s.model,
            [&](const QString& t) { found.insert(t.startsWith(u'G') ? t.mid(1, t.indexOf(u' ') - 1).toInt() : -1); });
    return found.size() == 1 ? *found.begin() : -1;
}

// Saves (and compacts) new generations until it is killed, printing each one it completed.
int runChild(const QString& mode, const QString& dir)
{
    Session s;
    setUp(s, dir);
    if (!LoadReport(s))
        return 3;
    BatchPrompt prompt;
    std::printf("ready\n");
    std::fflush(stdout);
    for (int gen = s.model.NoMM + 1;; ++gen) {
        stamp(s.model, gen);
        if (!Save(s, prompt) || (mode == QLatin1String("compact") && !CompactReportDatabase(s)))
            return 4;
        std::printf("%d\n", gen);
        std::fflush(stdout);
    }
}

} // namespace

class TestStoreKill : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killRepeatedly_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::newRow("save") << QStringLiteral("save");
        QTest::newRow("save and compact") << QStringLiteral("compact");
    }
    void killRepeatedly()
    {
#ifndef Q_OS_UNIX
        QSKIP("the kill tests run on POSIX systems");
#endif
        QFETCH(QString, mode);
        QTemporaryDir dir;
        Session first;
        openReport(first, dir.path());
        stamp(first.model, 1);
        ScriptedPrompt p;
        QVERIFY(Save(first, p));
        const quint32 seed = qEnvironmentVariableIsSet("R318_KILL_SEED")
                                 ? qEnvironmentVariableIntValue("R318_KILL_SEED")
                                 : QRandomGenerator::global()->generate();
        qInfo("%s: seed %u (set R318_KILL_SEED to repeat)", qPrintable(mode), seed);
        QRandomGenerator random(seed);
        int complete = 1; // the newest generation that some child saved and backed up completely
        const int kills = qMax(40, qEnvironmentVariableIntValue("R318_KILL_COUNT"));
        for (int kill = 1; kill <= kills; ++kill) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), mode, dir.path()});
            QByteArray out;
            while (!out.startsWith("ready\n")) {
                QVERIFY(child.waitForReadyRead(10000));
                out += child.readAllStandardOutput();
            }
            // Let it work for a random while (it never ends by itself), then kill it. It printed "ready", the
            // generations it completed, and what it printed of the next one.
            QVERIFY2(!child.waitForFinished(int(random.bounded(mode == QLatin1String("save") ? 80 : 160))),
                     "the child ended by itself");
            child.kill();
            QVERIFY(child.waitForFinished(10000));
            const QList<QByteArray> lines = (out + child.readAllStandardOutput()).split('\n');
            const int reported = lines.size() > 2 ? lines.at(lines.size() - 2).toInt() : -1;

            // No stray file that the archive list would show.
            QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("*318_TST*.mdb")}, QDir::Files | QDir::Hidden),
                     QStringList{QStringLiteral("r318_TST.mdb")});

            // The next start opens the report without a question and without restoring it. Report and backup copy
            // hold one generation each, no older than the last complete save (a kill between a save and its
            // backup copy leaves the backup copy behind the report).
            Session s;
            setUp(s, dir.path());
            QString why;
            QVERIFY2(OpenReportDatabase(s, {}, p, &why) && p.shown.isEmpty(), qPrintable(why + p.texts().join(u'\n')));
            QCOMPARE(CheckReportFile(s.CurrentBakPath, false).state, ReportFileCheck::State::Usable);
            const int gen = generationIn(dir.path(), s.CurrentDBPath),
                      bakGen = generationIn(dir.path(), s.CurrentBakPath);
            const QString state = QString::asprintf("kill %d: report %d, backup %d, child reported %d, complete %d",
                                                    kill, gen, bakGen, reported, complete);
            QVERIFY2(gen >= complete && gen >= reported && (reported < 0 || gen <= reported + 1), qPrintable(state));
            complete = qMax(complete, reported);
            QVERIFY2(bakGen <= gen && bakGen >= complete, qPrintable(state));
        }
        QVERIFY2(complete > 1, "no child completed a save before it was killed");

        // The next exit's compaction clears away what the killed processes left beside the report.
        QVERIFY(OpenReportDatabase(first, {}, p) && CompactReportDatabase(first));
        QCOMPARE(files(dir.path()), QStringList({QStringLiteral("r318_TST.bak"), QStringLiteral("r318_TST.mdb")}));
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc >= 4 && std::strcmp(argv[1], "--child") == 0)
        return runChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    TestStoreKill test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_storekill.moc"
