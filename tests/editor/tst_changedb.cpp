// The archive chooser in its two modes, and the archive items of the File menu run on the window.

#include "ReportFixture.h"
#include "WindowFixture.h"
#include "WindowTestHelpers.h"

#include "editor/ChangeDB.h"
#include "editor/Scheme.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>

using namespace ReportFixture;

class TestChangeDB : public QObject
{
    Q_OBJECT

    QTemporaryDir m_top;
    const QString d = m_top.path() + "/data";
    Session s;
    ScriptedPrompt p;

    QString at(const QString& name) const { return d + '/' + name; }
    static QString native(const QString& path) { return QDir::toNativeSeparators(path); }
    static QVariant pubName(const QString& path) { return value(path, "SELECT PubName FROM Misc"); }
    template <typename T = QWidget> static T* child(const ChangeDB& c, const char* n) { return c.findChild<T*>(n); }
    static QStringList listed(const ChangeDB& chooser)
    {
        QStringList names;
        for (const QListWidgetItem* item : child<QListWidget>(chooser, "List1")->findItems("*", Qt::MatchWildcard))
            names << item->text();
        names.sort();
        return names;
    }
    static void select(const ChangeDB& chooser, const QString& name)
    {
        auto* list = child<QListWidget>(chooser, "List1");
        list->setCurrentItem(list->findItems(name, Qt::MatchExactly).value(0));
    }

private Q_SLOTS:
    void initTestCase()
    {
        // The trash of a home of the test's own.
        qputenv("HOME", QFile::encodeName(m_top.filePath("home")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_top.filePath("home/.local/share")));
        QVERIFY(QDir().mkpath(m_top.filePath("home/.local/share")));
    }
    void init()
    {
        QDir(d).removeRecursively();
        QVERIFY(QDir().mkpath(d));
        ReportFixture::setUp(s, d);
        s.model.SquadronCode = "12";
        s.ReportDBPath = s.CurrentDBPath = at("r318_12.mdb");
        s.ReportBakPath = s.CurrentBakPath = at("r318_12.bak");
        p.shown.clear();
    }

    // Each mode's texts and controls; only the squadron's archives are listed, in either letter case, never its
    // report nor another squadron's files; the selection's information; the ways to leave the chooser.
    void modes_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("colorMode");
        QTest::addColumn<QString>("leave");
        row("open, Esc", "O", "color", "esc");
        row("delete, title bar", "D", "mono", "title bar");
        row("open, Cancel", "O", "color", "cmdExit");
    }
    void modes()
    {
        QFETCH(QString, mode);
        QFETCH(QString, colorMode);
        QFETCH(QString, leave);
        s.ColorMode = colorMode;
        for (const QString name : {"r318_12.mdb", "r318_12.bak", "r318_12_1920A.mdb", "r318_12_1920A.bak",
                                   "R318_12_1920B.MDB", "r318_123.mdb", "r318_123_1920A.mdb",
                                   "r318_12_1920C.unreadable-20240131-154500.mdb", "~r318_12.mdb.0badcafe.tmp"})
            writeBytes(at(name), "x");
        ChangeDB chooser(s, p, mode);
        chooser.show();
        const bool deleting = mode == "D";
        const QString instruction = deleting ? "Select unwanted file to delete.\n"
                                               "Existing backup copies of file will also be deleted."
                                             : "Select file to display.";
        auto* label = child<QLabel>(chooser, "Label1");
        QCOMPARE(label->text(), instruction);
        for (const char* name : {"optDelete_0", "optDelete_1", "chkConfirm"})
            QCOMPARE(child(chooser, name)->isVisible(), deleting);
        QVERIFY(child<QRadioButton>(chooser, "optDelete_0")->isChecked());
        QCOMPARE(chooser.palette().color(QPalette::Window) == Scheme::Background, colorMode == "color");

        QCOMPARE(listed(chooser), QStringList({"R318_12_1920B.MDB", "r318_12_1920A.mdb"}));
        select(chooser, "r318_12_1920A.mdb");
        const QFileInfo info(at("r318_12_1920A.mdb"));
        const QString text = label->text();
        QVERIFY2(text.startsWith(instruction + "\n" + native(info.absoluteFilePath()).toUpper() + "\r\nCreated: "),
                 qPrintable(text));
        QVERIFY(text.endsWith("\r\nLast Modified: " +
                              QLocale::system().toString(info.lastModified(), QLocale::ShortFormat)));

        if (leave == "esc")
            QTest::keyClick(&chooser, Qt::Key_Escape);
        else if (leave == "title bar")
            chooser.close();
        else
            child<QPushButton>(chooser, "cmdExit")->click();
        QVERIFY(!chooser.isVisible());
        QCOMPARE(chooser.mode(), QString());
        QCOMPARE(p.shown.size(), 0);
    }

    // Delete mode: the archive goes (to the trash or for good) with its backup copy, after the question unless
    // "No Confirmation Necessary" is ticked; Cancel keeps it; a damaged archive can be deleted.
    void deleteMode_data()
    {
        QTest::addColumn<bool>("permanent");
        QTest::addColumn<bool>("noConfirmation");
        QTest::addColumn<bool>("answerOk");
        QTest::addColumn<QByteArray>("content"); // empty: a report file
        QTest::addColumn<bool>("deleted");
        row("permanent, Cancel", true, false, false, QByteArray(), false);
        row("permanent, OK", true, false, true, QByteArray(), true);
        row("damaged, no confirmation", true, true, true, QByteArray(2048, '\xA5'), true);
        row("recycle bin", false, false, true, QByteArray(), true);
    }
    void deleteMode()
    {
        QFETCH(bool, permanent);
        QFETCH(bool, noConfirmation);
        QFETCH(bool, answerOk);
        QFETCH(QByteArray, content);
        QFETCH(bool, deleted);
        const QString a = at("r318_12_1920A.mdb"), bak = at("r318_12_1920A.bak");
        content.isEmpty() ? write(a) : writeBytes(a, content);
        writeBytes(bak, "backup");
        writeBytes(s.ReportDBPath, "report");
        p.setDefaultAnswer(answerOk ? Prompt::Answer::Ok : Prompt::Answer::Cancel);

        ChangeDB chooser(s, p, "D");
        chooser.show();
        child<QRadioButton>(chooser, permanent ? "optDelete_1" : "optDelete_0")->click();
        child<QCheckBox>(chooser, "chkConfirm")->setChecked(noConfirmation);
        select(chooser, "r318_12_1920A.mdb");
        child<QPushButton>(chooser, "cmdOpen")->click();
        QVERIFY(chooser.isVisible());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QStringList asked;
        for (const QString& path : {a, bak})
            if (!noConfirmation && (path == a || deleted))
                asked << (permanent ? "Confirm delete " + native(path)
                                    : "Move " + native(path) + " to the recycle bin?");
        QCOMPARE(p.texts(), asked);
        for (const Prompt::Message& m : p.shown)
            QVERIFY(m.title == "Delete DB" && m.icon == Prompt::Icon::Question &&
                    m.buttons == Prompt::Buttons::OkCancel);
        QCOMPARE(QList<bool>({QFileInfo::exists(a), QFileInfo::exists(bak)}), QList<bool>(2, !deleted));
        QVERIFY(QFileInfo::exists(s.ReportDBPath));
        QCOMPARE(listed(chooser), deleted ? QStringList() : QStringList{"r318_12_1920A.mdb"});
        const QStringList trashed = QDir(m_top.filePath("home/.local/share/Trash/files")).entryList(QDir::Files);
        QCOMPARE(trashed, permanent ? QStringList() : QStringList({"r318_12_1920A.bak", "r318_12_1920A.mdb"}));
    }

    // Open Archive through the real chooser: no selection and a file that is not a database are refused with the
    // chooser open and nothing changed; Enter opens the archive, which is brought up to date and shown. Replace
    // Current With Archive then keeps showing it (no reload) as the current report, Close Archive shows the current
    // report again; either way "Close Archive" is no longer offered.
    void openReplaceAndClose_data()
    {
        QTest::addColumn<QString>("item");
        row("replace", "mnuFileSaveAs");
        row("close", "mnuFileCloseArchive");
    }
    void openReplaceAndClose()
    {
        QFETCH(QString, item);
        WindowFixture f;
        QVERIFY(f.start());
        const QString dir = f.dataDir(), a = dir + "r318_ASQ_1920A.mdb", notes = dir + "r318_ASQ_1920B.mdb";
        write(a); // as this version makes it, before its second opening
        exec(a, "UPDATE Misc SET PubName = 'Archived'");
        writeBytes(notes, "notes, not a database");
        const QString report = f.session.CurrentDBPath;
        bool checked = false;
        QTimer::singleShot(0, this, [&] {
            auto* chooser = qobject_cast<ChangeDB*>(QApplication::activeModalWidget());
            QVERIFY(chooser);
            child<QPushButton>(*chooser, "cmdOpen")->click();
            select(*chooser, "r318_ASQ_1920B.mdb");
            child<QPushButton>(*chooser, "cmdOpen")->click();
            const QString refused = native(notes) + ": it is not a report database. Cannot open selected database";
            QCOMPARE(f.prompt.texts(), QStringList({"No data file selected", refused}));
            QVERIFY(chooser->isVisible());
            QCOMPARE(f.session.CurrentDBPath, report);
            QVERIFY(!QFileInfo::exists(dir + "r318_ASQ_1920B.bak"));
            select(*chooser, "r318_ASQ_1920A.mdb");
            QTest::keyClick(child(*chooser, "List1"), Qt::Key_Return);
            checked = true;
        });
        QSignalSpy loaded(f.window(), &R318grid::reportLoaded);
        QVERIFY(f.trigger("mnuFileOpen"));
        QVERIFY(checked);
        QCOMPARE(loaded.size(), 1);
        QCOMPARE(f.session.model.PubName, "Archived");
        QCOMPARE(value(a, "SELECT Rostrelv6 FROM Misc"), QVariant("7.0.0"));
        QVERIFY(QFileInfo::exists(dir + "r318_ASQ_1920A.bak"));
        QCOMPARE(f.window()->windowTitle(), "Form " + native(a));

        f.session.model.PubName = "Edited";
        QVERIFY(f.trigger(item));
        const bool replaced = item == "mnuFileSaveAs";
        QCOMPARE(f.window()->windowTitle(), "Form " + native(f.session.ReportDBPath));
        QVERIFY(!f.find<QAction>("mnuFileCloseArchive")->isEnabled());
        QCOMPARE(loaded.size(), replaced ? 1 : 2);
        QCOMPARE(f.session.model.PubName == "Edited", replaced);
    }

    // Archive from the window: a missing watch date takes the focus to its box; with both the archive is
    // written. Start a New then shows the new, empty report.
    void archiveAndStartNewInTheWindow()
    {
        WindowFixture f;
        QVERIFY(f.start());
        ReportModel& m = f.session.model;
        std::tie(m.FromDate, m.ToDate, m.PubName) = std::tuple("", "", "The Log");
        for (const QString name : {"txtFrom", "txtTo"}) {
            f.prompt.clear();
            QVERIFY(f.trigger("mnuFileAchive"));
            QCOMPARE(f.prompt.texts(), QStringList{"Must have watch dates"});
            QTRY_COMPARE(QApplication::focusWidget(), f.find(name));
            m.FromDate = "Sep 1, 2019";
            f.window()->Fillvalues(); // the box that has the focus shows the date instead of editing it
        }
        m.ToDate = "Aug 31, 2020";
        f.window()->Fillvalues();
        QVERIFY(f.trigger("mnuFileAchive"));
        QCOMPARE(pubName(f.dataDir() + "r318_ASQ_1920A.mdb"), QVariant("The Log"));

        QSignalSpy loaded(f.window(), &R318grid::reportLoaded);
        QVERIFY(f.trigger("mnuFileNew"));
        QCOMPARE(loaded.size(), 1);
        QCOMPARE(pubName(f.dataDir() + "r318_ASQ_1920B.mdb"), QVariant("The Log"));
        QVERIFY(m.PubName.isEmpty() && m.FromDate.isEmpty());
    }
};

QTEST_MAIN(TestChangeDB)
#include "tst_changedb.moc"
