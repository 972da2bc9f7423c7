// Context help: a help file compiled here with chmcmd, its topics resolved through the file's context map, links
// and pictures inside the viewer (also while a modal window that asked is open), and the program's own pages
// when the file is missing or lacks a topic.

#include "WindowTestHelpers.h"

#include "editor/HelpWindow.h"

#include <QDialog>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>

namespace {

// The project: pages in a folder and at the top, a picture, and a map without topic 14. The main page is
// Latin-1 without a character set, as older help pages are.
const char* const kFiles[][2] = {
    {"help.hhp", "[OPTIONS]\nCompiled file=r318form.chm\nDefault topic=pages/intro.htm\nTitle=Test help\n\n"
                 "[FILES]\npages/intro.htm\npages/main.htm\npages/pic.png\nchooser.htm\n\n"
                 "[ALIAS]\nIDH_CONTENTS=pages/intro.htm\nIDH_MAIN=pages/main.htm\nIDH_CHOOSER=chooser.htm\n\n"
                 "[MAP]\n#define IDH_CONTENTS 1\n#define IDH_MAIN 2\n#define IDH_CHOOSER 13\n"},
    {"pages/intro.htm",
     "<html><head><title>Introduction</title></head><body><h1>Introduction page</h1><p><img "
     "src=\"pic.png\"></p><p>Go to <a href=\"../chooser.htm\">the chooser page</a>.</p></body></html>"},
    {"pages/main.htm", "<html><body><h1>Main window</h1><p>Caf\xe9 keys</p></body></html>"},
    {"chooser.htm", "<html><body><h1>Chooser page</h1></body></html>"},
};

const QSize kPictureSize(37, 23);

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_helpFile;

private Q_SLOTS:
    void initTestCase()
    {
        const QString compiler = QStandardPaths::findExecutable("chmcmd");
        QVERIFY2(!compiler.isEmpty(), "chmcmd (Debian package fp-utils-3.2.2) is needed");
        const QString src = m_dir.filePath("src");
        for (const auto& [name, content] : kFiles) {
            QFile file(src + '/' + name);
            QVERIFY(QDir().mkpath(QFileInfo(file).absolutePath()) && file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(content), qint64(qstrlen(content)));
        }
        QImage picture(kPictureSize, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(src + "/pages/pic.png"));

        QProcess chmcmd;
        chmcmd.setWorkingDirectory(src);
        chmcmd.start(compiler, {"help.hhp"});
        QVERIFY(chmcmd.waitForFinished(60000));
        QVERIFY2(chmcmd.exitCode() == 0, chmcmd.readAll().constData());
        m_helpFile = src + "/r318form.chm";
        QVERIFY(QFile::exists(m_helpFile));
    }

    // A topic opens in a viewer owned by the window that asked, not modal, at its page.
    void topics_data()
    {
        QTest::addColumn<bool>("fileThere");
        QTest::addColumn<int>("topic");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("texts");
        row("contents", true, 1, "chm:/pages/intro.htm", QStringList{"Introduction page"});
        row("main window", true, 2, "chm:/pages/main.htm", QStringList{"Caf\u00e9 keys"});
        row("chooser", true, 13, "chm:/chooser.htm", QStringList{"Chooser page"});
        row("topic not in the file", true, 14, "builtin:14",
            QStringList{"was not found in the help file", "Print Preview"});
        row("no file, main window", false, 2, "builtin:2", QStringList{"was not found", "The main window", "F1"});
        row("no file, chooser", false, 13, "builtin:13", QStringList{"Choosing an archive"});
        row("no file, contents", false, 1, "builtin:1", QStringList{"The R-318 form"});
    }
    void topics()
    {
        QFETCH(bool, fileThere);
        QFETCH(int, topic);
        QFETCH(QString, page);
        QFETCH(QStringList, texts);
        QWidget asking;
        HelpWindow* window = ShowHelp(&asking, fileThere ? m_helpFile : m_dir.filePath("none/r318form.chm"), topic);
        QCOMPARE(window->parentWidget(), &asking);
        QVERIFY(window->isWindow() && !window->isModal());
        QCOMPARE(window->page(), QUrl(page));
        const QString shown = window->browser()->toPlainText();
        for (const QString& text : texts)
            QVERIFY2(shown.contains(text), qPrintable(shown));
    }

    // A modal window that asked for help does not block its viewer: the picture is there and a click on a
    // link opens the linked page; Back returns; asking again reuses the viewer.
    void linksAndPictures()
    {
        QDialog asking;
        asking.setModal(true);
        asking.show();
        HelpWindow* window = ShowHelp(&asking, m_helpFile, 1);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTextDocument* document = window->browser()->document();
        const QVariant picture = document->resource(QTextDocument::ImageResource, QUrl("pic.png"));
        QCOMPARE(picture.value<QPixmap>().size(), kPictureSize);

        QTextCursor inside(document);
        inside.setPosition(document->find("the chooser page").selectionStart() + 3);
        QTextBrowser* browser = window->browser();
        const QPoint at = browser->viewport()->mapTo(window, browser->cursorRect(inside).center());
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at);
        QTRY_COMPARE(window->page(), QUrl("chm:/chooser.htm"));

        window->findChild<QToolButton*>("cmdBack")->click();
        QCOMPARE(window->page(), QUrl("chm:/pages/intro.htm"));
        QCOMPARE(ShowHelp(&asking, m_helpFile, 13), window);
        QCOMPARE(window->page(), QUrl("chm:/chooser.htm"));
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
