// Context help: a help file compiled here with chmcmd, its topics resolved through the file's context map, links
// and pictures inside the viewer (also while a modal window that asked is open), and the program's own pages
// when the file is missing or lacks a topic.

#include "editor/HelpWindow.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QToolButton>

namespace {

// The project: pages in a folder and at the top, a picture, and a map without topic 14.
const char kProject[] = R"([OPTIONS]
Compiled file=r318form.chm
Default topic=pages/intro.htm
Title=Test help

[FILES]
pages/intro.htm
pages/main.htm
pages/pic.png
chooser.htm

[ALIAS]
IDH_CONTENTS=pages/intro.htm
IDH_MAIN=pages/main.htm
IDH_CHOOSER=chooser.htm

[MAP]
#define IDH_CONTENTS 1
#define IDH_MAIN 2
#define IDH_CHOOSER 13
)";

const QSize kPictureSize(37, 23);

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_helpFile;

private Q_SLOTS:
    void initTestCase()
    {
        const QString compiler = QStandardPaths::findExecutable(QStringLiteral("chmcmd"));
        QVERIFY2(!compiler.isEmpty(), "chmcmd (Debian package fp-utils-3.2.2) is needed");
        const QString src = m_dir.filePath(QStringLiteral("src"));
        QVERIFY(writeFile(src + QStringLiteral("/pages/intro.htm"),
                          "<html><head><title>Introduction</title></head><body><h1>Introduction page</h1>"
                          "<p><img src=\"pic.png\"></p><p>Go to <a href=\"../chooser.htm\">the chooser page</a>."
                          "</p></body></html>"));
        // Latin-1 without a character set, as older help pages are.
        QVERIFY(writeFile(src + QStringLiteral("/pages/main.htm"),
                          "<html><body><h1>Main window</h1><p>Caf\xe9 keys</p></body></html>"));
        QVERIFY(writeFile(src + QStringLiteral("/chooser.htm"), "<html><body><h1>Chooser page</h1></body></html>"));
        QImage picture(kPictureSize, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(src + QStringLiteral("/pages/pic.png")));
        QVERIFY(writeFile(src + QStringLiteral("/help.hhp"), kProject));

        QProcess chmcmd;
        chmcmd.setWorkingDirectory(src);
        chmcmd.start(compiler, {QStringLiteral("help.hhp")});
        QVERIFY(chmcmd.waitForFinished(60000));
        QVERIFY2(chmcmd.exitCode() == 0, chmcmd.readAll().constData());
        m_helpFile = src + QStringLiteral("/r318form.chm");
        QVERIFY(QFile::exists(m_helpFile));
    }

    void topics_data()
    {
        QTest::addColumn<bool>("fileThere");
        QTest::addColumn<int>("topic");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("contents") << true << 1 << "chm:/pages/intro.htm" << QStringList{"Introduction page"};
        QTest::newRow("main window") << true << 2 << "chm:/pages/main.htm" << QStringList{"Caf\u00e9 keys"};
        QTest::newRow("chooser") << true << 13 << "chm:/chooser.htm" << QStringList{"Chooser page"};
        QTest::newRow("topic not in the file")
            << true << 14 << "builtin:14" << QStringList{"was not found in the help file", "Print Preview"};
        QTest::newRow("no file, main window")
            << false << 2 << "builtin:2" << QStringList{"was not found", "The main window", "F1"};
        QTest::newRow("no file, chooser") << false << 13 << "builtin:13" << QStringList{"Choosing an archive"};
        QTest::newRow("no file, contents") << false << 1 << "builtin:1" << QStringList{"The R-318 form"};
    }
    void topics()
    {
        QFETCH(bool, fileThere);
        QFETCH(int, topic);
        QFETCH(QString, page);
        QFETCH(QStringList, texts);

        QWidget asking;
        const QString path = fileThere ? m_helpFile : m_dir.filePath(QStringLiteral("none/r318form.chm"));
        HelpWindow* window = ShowHelp(&asking, path, topic);
        QCOMPARE(window->parentWidget(), &asking);
        QVERIFY(window->isWindow());
        QVERIFY(!window->isModal());
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
        QTextBrowser* browser = window->browser();

        // The document keeps the picture it laid out.
        const QVariant picture =
            browser->document()->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("pic.png")));
        QCOMPARE(picture.value<QPixmap>().size(), kPictureSize);

        const QTextCursor link = browser->document()->find(QStringLiteral("the chooser page"));
        QVERIFY(!link.isNull());
        QTextCursor inside(browser->document());
        inside.setPosition(link.selectionStart() + 3);
        const QPoint at = browser->viewport()->mapTo(window, browser->cursorRect(inside).center());
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at);
        QTRY_COMPARE(window->page(), QUrl(QStringLiteral("chm:/chooser.htm")));

        window->findChild<QToolButton*>(QStringLiteral("cmdBack"))->click();
        QCOMPARE(window->page(), QUrl(QStringLiteral("chm:/pages/intro.htm")));
        QCOMPARE(ShowHelp(&asking, m_helpFile, 13), window);
        QCOMPARE(window->page(), QUrl(QStringLiteral("chm:/chooser.htm")));
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
