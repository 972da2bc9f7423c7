// The main window: its frame and menus, loading the report, the archive items, the colour modes, the key
// preview, Save, Revert, Submit and the exit sequence.

#include "ReportFixture.h"
#include "WindowFixture.h"
#include "WindowTestHelpers.h"

#include "editor/ArchiveActions.h"
#include "editor/ChangeDB.h"
#include "editor/HelpWindow.h"
#include "editor/Scheme.h"
#include "output/SpellCheck.h"
#include "store/ReportFile.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

namespace {

// Whether any widget of the window carries a colour of the scheme in one of the roles it paints.
QStringList schemeColoured(const QWidget* window)
{
    const QList<QColor> scheme = {Scheme::Background, Scheme::Caption, Scheme::Note,    Scheme::Box,
                                  Scheme::Remove,     Scheme::Add,     Scheme::EditBox, Scheme::Picked};
    QStringList found;
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        const QPalette& palette = widget->palette();
        for (const QPalette::ColorRole role :
             {QPalette::Window, QPalette::Button, QPalette::Base, QPalette::WindowText, QPalette::ButtonText})
            if (scheme.contains(palette.color(role)))
                found << widget->objectName();
    }
    found.removeDuplicates();
    return found;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void frameAndMenus()
    {
        WindowFixture f;
        QVERIFY(f.start());
        R318grid* w = f.window();
        QCOMPARE(w->size(), QSize(800, 600));
        QCOMPARE(w->windowTitle(), "Form " + QDir::toNativeSeparators(f.reportPath()));

        // Edit mode takes the File menu and "Preview and Print" away; grid mode gives the File menu back.
        w->EditMode();
        QVERIFY(!f.find<QMenu>("mnuFile")->menuAction()->isEnabled());
        QVERIFY(!f.find<QAction>("mnuPrintPreview")->isEnabled());
        w->GridMode();
        QVERIFY(f.find<QMenu>("mnuFile")->menuAction()->isEnabled());
        QVERIFY(f.find<QAction>("mnuPrintPreview")->isEnabled());

        // About is modal and waits until it is closed.
        bool modal = false;
        QTimer::singleShot(0, this, [&modal] {
            auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            modal = about && about->objectName() == "About";
            if (about)
                about->reject();
        });
        QVERIFY(f.trigger("mnuHelpAbout"));
        QVERIFY(modal);

        // A second copy started: the running window comes back from the task bar.
        w->showMinimized();
        w->bringToFront();
        QVERIFY(!w->isMinimized());
    }

    void archiveItems_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("archiveOpen");
        QTest::addColumn<QString>("expected"); // open, delete, replace, close
        // The squadron's own report matches the archive pattern: a report without archives keeps them enabled.
        row("own report only", QStringList{"r318_ASQ.mdb"}, false, QString("1100"));
        row("no report file", QStringList{"r318_XYZ.mdb", "R318_ASQ.bak"}, false, QString("0000"));
        row("a longer code", QStringList{"r318_ASQX.mdb", "r318_ASQ.mdb.unreadable-1"}, false, QString("0000"));
        row("upper-case archive", QStringList{"R318_ASQ_1920A.MDB"}, false, QString("1100"));
        row("archive open", QStringList{"r318_ASQ.mdb", "r318_ASQ_1920A.mdb"}, true, QString("0011"));
    }

    void archiveItems()
    {
        QFETCH(QStringList, files);
        QFETCH(bool, archiveOpen);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        ReportSession s;
        s.DataDir = dir.path() + "/";
        s.model.SquadronCode = " ASQ ";
        s.ReportDBPath = s.CurrentDBPath = s.DataDir + "r318_ASQ.mdb";
        if (archiveOpen)
            s.CurrentDBPath = s.DataDir + "r318_ASQ_1920A.mdb";
        for (const QString& name : files)
            QVERIFY(QFile(s.DataDir + name).open(QIODevice::WriteOnly));
        const ArchiveItems items = R318grid::archiveItems(s);
        QCOMPARE(QString("%1%2%3%4")
                     .arg(int(items.openArchive))
                     .arg(int(items.deleteArchives))
                     .arg(int(items.replaceCurrent))
                     .arg(int(items.closeArchive)),
                 expected);
    }

    void colourModes()
    {
        WindowFixture color;
        QVERIFY(color.start());
        QVERIFY(schemeColoured(color.window()).contains("txtFind"));
        WindowFixture mono("mono");
        QVERIFY(mono.start());
        QCOMPARE(schemeColoured(mono.window()), QStringList());
    }

    // A double quote typed into any box of the window, or committed by an input method, becomes an apostrophe.
    void doubleQuoteBecomesApostrophe()
    {
        WindowFixture f;
        QVERIFY(f.start());
        for (const QString name : {"txtPub", "txtFind"}) {
            auto* box = f.find<QLineEdit>(name);
            QVERIFY(box);
            box->setFocus();
            QTest::keyClicks(box, "a\"b");
            QInputMethodEvent input;
            input.setCommitString("\"c\"");
            QApplication::sendEvent(box, &input);
            QCOMPARE(box->text(), "a'b'c'");
        }
    }

    // Menu items do not take the focus: what the box being edited holds reaches the operation.
    void submitTakesTheBoxBeingEdited()
    {
        WindowFixture f;
        QVERIFY(f.start());
        auto* email = f.find<QLineEdit>("txtEmail");
        email->setFocus();
        email->selectAll();
        QTest::keyClicks(email, "  historian@example.org ");
        QVERIFY(f.trigger("mnuSubmit"));
        QCOMPARE(f.browser.opened.size(), 1);
        QCOMPARE(QUrlQuery(f.browser.opened.first()).queryItemValue("Email"), "historian@example.org");
        QCOMPARE(email->text(), "  historian@example.org ");
        QCOMPARE(f.session.model.SubOEmail, "historian@example.org");
    }

    // Help at its topics: F1 in any control of the window, in the archive chooser and in the preview, and the menu.
    // Each help window belongs to the window that asked; without a help file it shows the built-in page.
    void helpTopics()
    {
        WindowFixture f;
        QVERIFY(f.start());
        const auto lastPage = [](QWidget* owner) {
            const QList<HelpWindow*> shown = owner->findChildren<HelpWindow*>();
            return shown.isEmpty() ? QString() : shown.last()->page().toString();
        };
        for (const QString name : {"txtPub", "cmbName"}) {
            QWidget* control = f.find<QWidget>(name);
            control->setFocus();
            QTest::keyClick(control, Qt::Key_F1);
            QCOMPARE(lastPage(f.window()), "builtin:2");
        }
        QVERIFY(f.trigger("mnuHelpHow"));
        QCOMPARE(lastPage(f.window()), "builtin:1");

        QString chooserPage, previewPage;
        f.window()->archiveActions().setChooser([&](const QString&) {
            ChangeDB chooser(f.session, f.prompt, "O", f.window());
            chooser.show();
            chooser.activateWindow();
            QWidget* list = chooser.findChild<QWidget*>("List1");
            if (!QTest::qWaitForWindowActive(&chooser))
                return QString();
            list->setFocus();
            QTest::keyClick(list, Qt::Key_F1);
            chooserPage = lastPage(&chooser);
            return QString();
        });
        QVERIFY(f.trigger("mnuFileOpen"));
        QCOMPARE(chooserPage, "builtin:13");
        // The preview shows what the boxes hold, and the report is saved before it opens.
        auto* pub = f.find<QLineEdit>("txtPub");
        pub->setFocus();
        QTest::keyClicks(pub, "Harbor Lights");
        QTimer::singleShot(0, this, [&] {
            QWidget* preview = QApplication::activeModalWidget();
            QTest::keyClick(preview, Qt::Key_F1);
            previewPage = lastPage(preview);
            preview->close();
        });
        QVERIFY(f.trigger("mnuPrintPreview"));
        QCOMPARE(previewPage, "builtin:14");
        QCOMPARE(ReportFixture::value(f.reportPath(), "SELECT PubName FROM Misc"), QVariant("Harbor Lights"));
    }

    // Spell Check from the menu: the correction reaches the report.
    void spellCheckReachesTheReport()
    {
        WindowFixture f;
        QVERIFY(f.start());
        QTest::mouseClick(f.find<QRadioButton>("OptActivities_1"), Qt::LeftButton);
        auto* box = f.find<QPlainTextEdit>("txtActivities");
        QTRY_VERIFY(box->hasFocus());
        QTest::keyClicks(box, "Thre cruises");
        QTimer::singleShot(0, this, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            auto* changeTo = dialog->findChild<QLineEdit*>("txtChangeTo");
            changeTo->setText("Three");
            QTest::mouseClick(dialog->findChild<QPushButton*>("cmdChange"), Qt::LeftButton);
        });
        QVERIFY(f.trigger("mnuSpell"));
        QCOMPARE(box->toPlainText(), "Three cruises");
        QCOMPARE(f.session.model.ActivityText[1], "Three cruises");

        // Without a dictionary the item is not offered.
        const QStringList folders = DictionaryFolders();
        QTemporaryDir empty;
        SetDictionaryFolders({empty.path()});
        WindowFixture without;
        QVERIFY(without.start());
        QVERIFY(!without.find<QAction>("mnuSpell")->isEnabled());
        SetDictionaryFolders(folders);
    }

    // Closing by the menu and by the title-bar button: the boxes' values stored, the report saved, the backup copy
    // equal in content, the compacted file usable; a window closed before its report was loaded changes nothing.
    void exitSequence_data()
    {
        QTest::addColumn<QString>("how");
        row("menu", QString("menu"));
        row("title bar", QString("title bar"));
    }

    void exitSequence()
    {
        QFETCH(QString, how);
        WindowFixture f;
        QVERIFY(f.start());
        auto* pub = f.find<QLineEdit>("txtPub");
        pub->setFocus();
        pub->selectAll();
        QTest::keyClicks(pub, "The Log ");
        if (how == "menu")
            QVERIFY(f.trigger("mnuFileClose"));
        else
            f.close();
        QVERIFY(!f.window()->isVisible());
        QVERIFY(!f.session.host.HostDB.isOpen());

        const QString report = f.session.ReportDBPath, backup = f.session.ReportBakPath;
        QCOMPARE(ReportFixture::value(report, "SELECT PubName FROM Misc"), QVariant("The Log"));
        QCOMPARE(ReportFixture::snapshot(backup), ReportFixture::snapshot(report));
        QCOMPARE(ReportFixture::value(report, "PRAGMA integrity_check"), QVariant("ok"));
        QVERIFY(!QFile::exists(CompactScratchPath(f.session)));
    }

    void closedBeforeLoadSavesNothing()
    {
        WindowFixture f;
        QVERIFY(f.start());
        f.close();
        const QByteArray saved = ReportFixture::bytes(f.session.ReportDBPath);
        Session second;
        second.DataDir = f.session.DataDir;
        second.ReportDBPath = second.CurrentDBPath = f.session.ReportDBPath;
        second.ReportBakPath = second.CurrentBakPath = f.session.ReportBakPath;
        {
            R318grid unshown(second, f.prompt, f.browser);
            unshown.close();
        }
        QCOMPARE(ReportFixture::bytes(f.session.ReportDBPath), saved);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
