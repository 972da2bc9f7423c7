// The archive chooser in its two modes, and the archive items of the File menu run on the window.

#include "ReportFixture.h"
#include "WindowFixture.h"

#include "editor/ArchiveActions.h"
#include "editor/ChangeDB.h"
#include "editor/Scheme.h"
#include "store/ReportArchive.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace ReportFixture;

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QStringList listed(const ChangeDB& chooser)
{
    QStringList names;
    const auto* list = chooser.findChild<QListWidget*>("List1");
    for (int row = 0; row < list->count(); ++row)
        names << list->item(row)->text();
    names.sort();
    return names;
}

void select(ChangeDB& chooser, const QString& name)
{
    auto* list = chooser.findChild<QListWidget*>("List1");
    const auto found = list->findItems(name, Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    list->setCurrentItem(found.first());
}

// The window's box of that name, or a stand-in with the name when the window has none: what receives the focus.
QWidget* box(const WindowFixture& f, const QString& name)
{
    if (QWidget* widget = f.find(name))
        return widget;
    auto* standIn = new QLineEdit(f.window()->centralWidget());
    standIn->setObjectName(name);
    standIn->show();
    return standIn;
}

QVariant pubName(const QString& path)
{
    return value(path, QStringLiteral("SELECT PubName FROM Misc"));
}

} // namespace

class TestChangeDB : public QObject
{
    Q_OBJECT

    QTemporaryDir m_top;
    const QString d = m_top.path() + QStringLiteral("/data");
    QString at(const QString& name) const { return d + QLatin1Char('/') + name; }
    Session s;
    ScriptedPrompt p;

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
        s.model.SquadronCode = QStringLiteral("12");
        s.ReportDBPath = s.CurrentDBPath = at("r318_12.mdb");
        s.ReportBakPath = s.CurrentBakPath = at("r318_12.bak");
        s.ColorMode = QStringLiteral("color");
        p.shown.clear();
    }

    // Captions and texts of each mode; only the squadron's archives are listed, in either letter case, never its
    // report nor another squadron's files; the selection's information; the ways to leave the chooser.
    void modes_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("colorMode");
        QTest::addColumn<QString>("leave");
        QTest::newRow("open, Esc") << "O"
                                   << "color"
                                   << "esc";
        QTest::newRow("delete, title bar") << "D"
                                           << "mono"
                                           << "title bar";
        QTest::newRow("open, Cancel") << "O"
                                      << "color"
                                      << "cmdExit";
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
        auto* label = chooser.findChild<QLabel*>("Label1");
        QCOMPARE(label->text(), instruction);
        QCOMPARE(chooser.findChild<QPushButton*>("cmdOpen")->text(), deleting ? "Delete File" : "Open Database");
        QCOMPARE(chooser.findChild<QPushButton*>("cmdExit")->text(), deleting ? "Close" : "Cancel");
        for (const char* name : {"optDelete_0", "optDelete_1", "chkConfirm"})
            QCOMPARE(chooser.findChild<QWidget*>(name)->isVisible(), deleting);
        QVERIFY(chooser.findChild<QRadioButton*>("optDelete_0")->isChecked());
        QCOMPARE(chooser.findChild<QRadioButton*>("optDelete_0")->text(), "Recycle Bin");
        QCOMPARE(chooser.findChild<QRadioButton*>("optDelete_1")->text(), "Permanent");
        QCOMPARE(chooser.findChild<QCheckBox*>("chkConfirm")->text(), "No Confirmation Necessary");
        QCOMPARE(chooser.palette().color(QPalette::Window) == Scheme::Background, colorMode == "color");

        QCOMPARE(listed(chooser), QStringList({"R318_12_1920B.MDB", "r318_12_1920A.mdb"}));
        select(chooser, "r318_12_1920A.mdb");
        const QFileInfo info(at("r318_12_1920A.mdb"));
        const QString text = label->text();
        QVERIFY2(text.startsWith(instruction + "\n" + native(info.absoluteFilePath()).toUpper() + "\r\nCreated: "),
                 qPrintable(text));
        QVERIFY(text.contains("\r\nLast Accessed: "));
        QVERIFY(text.endsWith("\r\nLast Modified: " +
                              QLocale::system().toString(info.lastModified(), QLocale::ShortFormat)));

        if (leave == "esc")
            QTest::keyClick(&chooser, Qt::Key_Escape);
        else if (leave == "title bar")
            chooser.close();
        else
            chooser.findChild<QPushButton*>("cmdExit")->click();
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
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("permanent, Cancel") << true << false << false << QByteArray() << false;
        QTest::newRow("permanent, OK") << true << false << true << QByteArray() << true;
        QTest::newRow("damaged, no confirmation") << true << true << true << QByteArray(2048, '\xA5') << true;
        QTest::newRow("recycle bin") << false << false << true << QByteArray() << true;
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
        const QDir trash(m_top.filePath("home/.local/share/Trash/files"));
        const QStringList trashedBefore = trash.entryList(QDir::Files);

        ChangeDB chooser(s, p, "D");
        chooser.show();
        chooser.findChild<QRadioButton*>(permanent ? "optDelete_1" : "optDelete_0")->click();
        chooser.findChild<QCheckBox*>("chkConfirm")->setChecked(noConfirmation);
        select(chooser, "r318_12_1920A.mdb");
        chooser.findChild<QPushButton*>("cmdOpen")->click();
        QVERIFY(chooser.isVisible());
        QCOMPARE(QApplication::overrideCursor(), nullptr);

        QStringList asked;
        for (const Prompt::Message& m : p.shown) {
            QVERIFY(m.title == "Delete DB" && m.icon == Prompt::Icon::Question &&
                    m.buttons == Prompt::Buttons::OkCancel);
            asked << m.text;
        }
        QStringList expected;
        if (!noConfirmation) {
            for (const QString& path : deleted ? QStringList{a, bak} : QStringList{a})
                expected << (permanent ? "Confirm delete " + native(path)
                                       : "Move " + native(path) + " to the recycle bin?");
        }
        QCOMPARE(asked, expected);
        QCOMPARE(QFileInfo::exists(a), !deleted);
        QCOMPARE(QFileInfo::exists(bak), !deleted);
        QVERIFY(QFileInfo::exists(s.ReportDBPath));
        QCOMPARE(listed(chooser), deleted ? QStringList() : QStringList{"r318_12_1920A.mdb"});
        const QStringList trashed = trash.entryList(QDir::Files);
        QCOMPARE(trashed.size() - trashedBefore.size(), permanent ? 0 : 2);
        if (!permanent)
            QVERIFY(trashed.contains("r318_12_1920A.mdb") && trashed.contains("r318_12_1920A.bak"));
    }

    // Open Archive through the real chooser: no selection and a file that is not a database are refused with the
    // chooser open and nothing changed; Enter opens the archive, which is brought up to date and shown.
    void openThroughTheChooser()
    {
        WindowFixture f;
        QVERIFY(f.start());
        const QString dir = f.dataDir(), a = dir + "r318_ASQ_1920A.mdb", notes = dir + "r318_ASQ_1920B.mdb";
        write(a); // as this version makes it, before its second opening
        exec(a, "UPDATE Misc SET PubName = 'Archived'");
        writeBytes(notes, "notes, not a database");
        ArchiveActions actions(f.session, f.prompt, *f.window());
        const QString report = f.session.CurrentDBPath;

        bool checked = false;
        QTimer::singleShot(0, this, [&] {
            auto* chooser = qobject_cast<ChangeDB*>(QApplication::activeModalWidget());
            QVERIFY(chooser);
            auto* open = chooser->findChild<QPushButton*>("cmdOpen");
            open->click();
            QCOMPARE(f.prompt.shown.last().text, "No data file selected");
            select(*chooser, "r318_ASQ_1920B.mdb");
            open->click();
            QCOMPARE(f.prompt.shown.last().text,
                     native(notes) + ": it is not a report database. Cannot open selected database");
            QVERIFY(chooser->isVisible());
            QCOMPARE(f.session.CurrentDBPath, report);
            QVERIFY(!QFileInfo::exists(dir + "r318_ASQ_1920B.bak"));
            select(*chooser, "r318_ASQ_1920A.mdb");
            QTest::keyClick(chooser->findChild<QListWidget*>("List1"), Qt::Key_Return);
            checked = true;
        });
        QSignalSpy loaded(f.window(), &R318grid::reportLoaded);
        actions.mnuFileOpenClick();
        QVERIFY(checked);
        QCOMPARE(loaded.size(), 1);
        QCOMPARE(f.session.CurrentDBPath, a);
        QCOMPARE(f.session.model.PubName, "Archived");
        QCOMPARE(value(a, "SELECT Rostrelv6 FROM Misc"), QVariant("7.0.0"));
        QVERIFY(QFileInfo::exists(dir + "r318_ASQ_1920A.bak"));
        QCOMPARE(f.window()->windowTitle(), "Form " + native(a));
        QVERIFY(R318grid::archiveItems(f.session).closeArchive);
    }

    // Replace Current With Archive keeps showing the archive's report (no reload), now as the current report,
    // and "Close Archive" is no longer offered; Close Archive shows the current report again.
    void replaceAndCloseInTheWindow()
    {
        for (const QString op : {"replace", "close"}) {
            WindowFixture f;
            QVERIFY(f.start());
            const QString a = f.dataDir() + "r318_ASQ_1920A.mdb";
            write(a);
            exec(a, "UPDATE Misc SET PubName = 'Archived'");
            ArchiveActions actions(f.session, f.prompt, *f.window());
            actions.setChooser([&](const QString& mode) {
                return mode == "O" && OpenArchiveFile(f.session, a, f.prompt) ? QStringLiteral("O") : QString();
            });
            actions.mnuFileOpenClick();
            QCOMPARE(f.session.model.PubName, "Archived");
            f.session.model.PubName = QStringLiteral("Edited");

            QSignalSpy loaded(f.window(), &R318grid::reportLoaded);
            op == "replace" ? actions.mnuFileSaveAsClick() : actions.mnuFileCloseArchiveClick();
            QCOMPARE(f.session.CurrentDBPath, f.session.ReportDBPath);
            QCOMPARE(f.window()->windowTitle(), "Form " + native(f.session.ReportDBPath));
            const ArchiveItems items = R318grid::archiveItems(f.session);
            QVERIFY(!items.closeArchive && !items.replaceCurrent && items.openArchive);
            QCOMPARE(pubName(a), QVariant("Edited"));
            if (op == "replace") {
                QCOMPARE(loaded.size(), 0);
                QCOMPARE(f.session.model.PubName, "Edited");
                QCOMPARE(pubName(f.session.ReportDBPath), QVariant("Edited"));
            } else {
                QCOMPARE(loaded.size(), 1);
                QVERIFY(f.session.model.PubName != "Edited");
                QVERIFY(!QFileInfo::exists(f.dataDir() + "r318_ASQ_1920A.bak"));
            }
        }
    }

    // Archive from the window: a missing watch date takes the focus to its box; with both the archive is
    // written. Start a New then archives the report under the next letter and shows the new, empty report.
    void archiveAndStartNewInTheWindow()
    {
        WindowFixture f;
        QVERIFY(f.start());
        ArchiveActions actions(f.session, f.prompt, *f.window());
        ReportModel& m = f.session.model;
        m.FromDate.clear();
        m.ToDate.clear();
        m.PubName = QStringLiteral("The Log");
        for (const QString name : {"txtFrom", "txtTo"}) {
            QWidget* missing = box(f, name);
            f.prompt.shown.clear();
            actions.mnuFileAchiveClick();
            QCOMPARE(f.prompt.texts(), QStringList{"Must have watch dates"});
            QTRY_COMPARE(QApplication::focusWidget(), missing);
            m.FromDate = QStringLiteral("Sep 1, 2019");
            f.window()->Fillvalues(); // the box that has the focus shows the date instead of editing it
        }
        m.ToDate = QStringLiteral("Aug 31, 2020");
        f.window()->Fillvalues();
        actions.mnuFileAchiveClick();
        const QString a = f.dataDir() + "r318_ASQ_1920A.mdb", b = f.dataDir() + "r318_ASQ_1920B.mdb";
        QCOMPARE(f.prompt.shown.last().text, "File saved as " + native(a) + "\n");
        QCOMPARE(pubName(a), QVariant("The Log"));

        QSignalSpy loaded(f.window(), &R318grid::reportLoaded);
        actions.mnuFileNewClick();
        QCOMPARE(loaded.size(), 1);
        QCOMPARE(pubName(b), QVariant("The Log"));
        QVERIFY(m.PubName.isEmpty() && m.FromDate.isEmpty());
        QVERIFY(pubName(f.session.ReportDBPath).isNull());
    }
};

QTEST_MAIN(TestChangeDB)
#include "tst_changedb.moc"
