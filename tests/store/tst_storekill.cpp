// A process killed at a random moment while it saves (or saves and compacts) the report over and over leaves
// a report that the next start opens with either the previous or the new content, never a mix and never an
// empty report, a valid backup copy, and no stray file that could be taken for a report or an archive.
//
// The test program starts itself as the child: "tst_storekill --child save|compact DIR".

#include "ReportFixture.h"
#include "ScriptedPrompt.h"

#include "base/Prompt.h"
#include "store/ReportConnection.h"
#include "store/ReportDatabase.h"
#include "store/ReportFile.h"
#include "store/ReportIO.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstring>

using namespace ReportFixture;

namespace {

// At least 100 kills per kind; R318_KILL_COUNT asks for more.
int killCount()
{
    return qMax(100, qEnvironmentVariableIntValue("R318_KILL_COUNT"));
}

// Marks every part of the model with generation `gen`: a save that mixed two generations shows at once.
// The activity texts change length so that the file grows and shrinks and compaction has work to do.
void stamp(ReportModel& m, int gen)
{
    const QString g = QStringLiteral("G%1").arg(gen);
    m.NoMM = gen;
    m.PubName = g;
    m.SubOLast = g;
    for (size_t k = 0; k < m.ActivityText.size(); ++k)
        m.ActivityText[k] = g + QLatin1Char(' ') + QString(int((gen * 7 + int(k) * 3) % 11) * 700, QLatin1Char('a'));
    for (int i = 1; i <= m.OfficerCount; ++i) {
        if (!m.OffHeading[i])
            m.OffLast[i] = g;
    }
    for (int c = 1; c <= 7; ++c) {
        for (int e = 1; e <= 24; ++e) {
            m.RecLast[c][e] = g;
            m.RecCategory[c][e] = c;
        }
    }
}

// The generations found in every stamped part of the model.
QSet<int> generations(const ReportModel& m)
{
    QSet<int> found;
    const auto add = [&found](const QString& text) {
        const QString word = text.section(QLatin1Char(' '), 0, 0);
        found.insert(word.startsWith(QLatin1Char('G')) ? word.mid(1).toInt() : -1);
    };
    found.insert(m.NoMM);
    add(m.PubName);
    add(m.SubOLast);
    for (const QString& t : m.ActivityText)
        add(t);
    for (int i = 1; i <= m.OfficerCount; ++i) {
        if (!m.OffHeading[i])
            add(m.OffLast[i]);
    }
    for (int c = 1; c <= 7; ++c) {
        for (int e = 1; e <= 24; ++e)
            add(m.RecLast[c][e]);
    }
    return found;
}

int runChild(const QString& mode, const QString& dir)
{
    Session s;
    setUp(s, dir);
    QString why;
    if (!LoadReport(s, &why)) {
        std::fprintf(stderr, "child: cannot load: %s\n", qPrintable(why));
        return 3;
    }
    BatchPrompt prompt;
    int gen = s.model.NoMM;
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;) {
        stamp(s.model, ++gen);
        if (!Save(s, prompt))
            return 4;
        if (mode == QLatin1String("compact") && !CompactReportDatabase(s, &why)) {
            std::fprintf(stderr, "child: compaction failed: %s\n", qPrintable(why));
            return 5;
        }
        std::printf("%d\n", gen);
        std::fflush(stdout);
    }
}

} // namespace

class TestStoreKill : public QObject
{
    Q_OBJECT

private:
    void killRepeatedly(const QString& mode);

private Q_SLOTS:
    void initTestCase()
    {
#ifndef Q_OS_UNIX
        QSKIP("the kill tests run on POSIX systems");
#endif
    }
    void killDuringSave()
    {
        killRepeatedly(QStringLiteral("save"));
    }
    void killDuringCompaction()
    {
        killRepeatedly(QStringLiteral("compact"));
    }
};

void TestStoreKill::killRepeatedly(const QString& mode)
{
    QTemporaryDir dir;
    {
        Session s;
        openReport(s, dir.path());
        stamp(s.model, 1);
        ScriptedPrompt p;
        QVERIFY(Save(s, p));
    }
    const quint32 seed = qEnvironmentVariableIsSet("R318_KILL_SEED")
                             ? quint32(qEnvironmentVariableIntValue("R318_KILL_SEED"))
                             : QRandomGenerator::global()->generate();
    qInfo("%s: seed %u (set R318_KILL_SEED to repeat)", qPrintable(mode), seed);
    QRandomGenerator random(seed);
    const QRegularExpression stray(QStringLiteral("^.*318_TST.*\\.mdb$"), QRegularExpression::CaseInsensitiveOption);

    QElapsedTimer timer;
    timer.start();
    int cyclesSeen = 0;
    int complete = 1; // the newest generation that some child saved and backed up completely
    QSet<QString> leftovers;
    const int kills = killCount();
    for (int kill = 1; kill <= kills; ++kill) {
        QProcess child;
        child.setProgram(QCoreApplication::applicationFilePath());
        child.setArguments({QStringLiteral("--child"), mode, dir.path()});
        child.start();
        QVERIFY(child.waitForStarted(10000));
        QByteArray out;
        while (!out.startsWith("ready\n")) {
            QVERIFY2(child.waitForReadyRead(10000), qPrintable(QString::fromLocal8Bit(child.readAllStandardError())));
            out += child.readAllStandardOutput();
        }
        // Let it work for a random while (it never ends by itself), then kill it.
        const int ms = int(random.bounded(mode == QLatin1String("save") ? 80 : 160));
        QVERIFY2(!child.waitForFinished(ms), qPrintable(QString::fromLocal8Bit(child.readAllStandardError())));
        child.kill();
        QVERIFY(child.waitForFinished(10000));
        out += child.readAllStandardOutput();

        // The last generation the child reported as complete.
        int reported = -1;
        const QList<QByteArray> lines = out.split('\n');
        for (int i = 1; i + 1 < lines.size(); ++i)
            reported = lines.at(i).toInt();
        cyclesSeen += qMax(0, int(lines.size()) - 2);

        // No stray file that the archive list would show.
        for (const QString& name : files(dir.path())) {
            QVERIFY2(name == QLatin1String("r318_TST.mdb") || !stray.match(name).hasMatch(), qPrintable(name));
            if (name != QLatin1String("r318_TST.mdb") && name != QLatin1String("r318_TST.bak"))
                leftovers.insert(name);
        }

        // The next start opens the report without a question and without restoring it.
        Session s;
        setUp(s, dir.path());
        ScriptedPrompt p;
        QString why;
        QVERIFY2(OpenReportDatabase(s, {}, p, &why), qPrintable(why));
        QVERIFY2(p.shown.isEmpty(), qPrintable(p.texts().join(QLatin1Char('\n'))));
        QVERIFY2(LoadReport(s, &why), qPrintable(why));
        const QSet<int> inReport = generations(s.model);
        QVERIFY2(inReport.size() == 1, qPrintable(QStringLiteral("kill %1: a mix of generations").arg(kill)));
        const int gen = *inReport.begin();
        QVERIFY2(
            gen >= complete && gen >= reported && (reported < 0 || gen <= reported + 1),
            qPrintable(QStringLiteral("kill %1: generation %2, child reported %3").arg(kill).arg(gen).arg(reported)));
        complete = qMax(complete, reported);

        // The backup copy is a sound report, no older than the last complete save (a kill between a save and
        // its backup copy leaves it behind the report).
        QCOMPARE(CheckReportFile(s.CurrentBakPath, false).state, ReportFileCheck::State::Usable);
        Session bak;
        setUp(bak, dir.path());
        bak.CurrentDBPath = s.CurrentBakPath;
        QVERIFY2(LoadReport(bak, &why), qPrintable(why));
        const QSet<int> inBackup = generations(bak.model);
        QVERIFY2(inBackup.size() == 1, qPrintable(QStringLiteral("kill %1: a mixed backup copy").arg(kill)));
        const int bakGen = *inBackup.begin();
        QVERIFY2(bakGen <= gen && bakGen >= complete,
                 qPrintable(QStringLiteral("kill %1: backup generation %2, report %3").arg(kill).arg(bakGen).arg(gen)));
    }
    qInfo("%s: %d kills, %d complete cycles in between, %lld ms; files left beside the report: %s", qPrintable(mode),
          kills, cyclesSeen, timer.elapsed(), qPrintable(QStringList(leftovers.values()).join(QStringLiteral(", "))));
    // The kills landed inside the work, not only between cycles.
    QVERIFY(cyclesSeen > kills / 2);

    // The next exit's compaction clears away what the killed processes left beside the report.
    Session s;
    setUp(s, dir.path());
    ScriptedPrompt p;
    QVERIFY(OpenReportDatabase(s, {}, p));
    QVERIFY(CompactReportDatabase(s));
    QCOMPARE(files(dir.path()), QStringList({QStringLiteral("r318_TST.bak"), QStringLiteral("r318_TST.mdb")}));
}

int main(int argc, char** argv)
{
    if (argc >= 4 && std::strcmp(argv[1], "--child") == 0) {
        QCoreApplication app(argc, argv);
        return runChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    QCoreApplication app(argc, argv);
    TestStoreKill test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_storekill.moc"
