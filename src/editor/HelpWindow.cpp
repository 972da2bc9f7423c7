#include "HelpWindow.h"

#include "app/HelpFile.h"
#include "app/HelpPages.h"
#include "base/Prompt.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kChmScheme = QStringLiteral("chm");
const QString kBuiltInScheme = QStringLiteral("builtin");

QUrl chmUrl(const QString& path)
{
    QUrl url;
    url.setScheme(kChmScheme);
    url.setPath(path);
    return url;
}

QUrl builtInUrl(int topic)
{
    QUrl url;
    url.setScheme(kBuiltInScheme);
    url.setPath(QString::number(topic));
    return url;
}

// A page names its character set in its head or is UTF-8; a page that is not valid UTF-8 is read as Latin-1,
// the older help compilers' usual code page.
QString decodedHtml(const QByteArray& bytes)
{
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    if (decoder.isValid()) {
        const QString text = decoder.decode(bytes);
        if (!decoder.hasError())
            return text;
    }
    return QString::fromLatin1(bytes);
}

// A text browser that reads pages and pictures from the help file ("chm:" addresses, relative links resolved
// against the page shown) and the program's own pages ("builtin:" and the topic).
class HelpBrowser : public QTextBrowser
{
public:
    using QTextBrowser::QTextBrowser;
    const HelpFile* file = nullptr;

    QVariant loadResource(int type, const QUrl& name) override
    {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        if (url.scheme() == kBuiltInScheme) {
            const int topic = url.path().toInt();
            const QString note =
                file->isOpen()
                    ? QStringLiteral("The page for this topic was not found in the help file %1. This is the "
                                     "program's own short help.")
                          .arg(file->path())
                    : QStringLiteral("The help file %1 was not found. This is the program's own short help.")
                          .arg(file->path());
            return BuiltInHelpPage(topic, note);
        }
        if (url.scheme() != kChmScheme)
            return {};
        const std::optional<QByteArray> bytes = file->read(url.path(QUrl::FullyDecoded));
        if (!bytes)
            return {};
        if (type == QTextDocument::HtmlResource)
            return decodedHtml(*bytes);
        return *bytes;
    }
};

} // namespace

HelpWindow::HelpWindow(const QString& helpFilePath, QWidget* parent)
    : QWidget(parent, Qt::Window), m_file(std::make_unique<HelpFile>(helpFilePath))
{
    setObjectName(QStringLiteral("HelpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QLatin1String(kAppTitle) + QStringLiteral(" Help"));

    auto* browser = new HelpBrowser;
    browser->file = m_file.get();
    browser->setObjectName(QStringLiteral("HelpBrowser"));
    browser->setOpenLinks(false);
    m_browser = browser;

    auto* cmdBack = new QToolButton;
    cmdBack->setObjectName(QStringLiteral("cmdBack"));
    cmdBack->setText(QStringLiteral("Back"));
    cmdBack->setEnabled(false);
    auto* cmdForward = new QToolButton;
    cmdForward->setObjectName(QStringLiteral("cmdForward"));
    cmdForward->setText(QStringLiteral("Forward"));
    cmdForward->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdBack);
    buttons->addWidget(cmdForward);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser, 1);
    resize(640, 520);

    connect(cmdBack, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(cmdForward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, cmdBack, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, cmdForward, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = m_browser->documentTitle();
        const QString base = QLatin1String(kAppTitle) + QStringLiteral(" Help");
        setWindowTitle(title.isEmpty() ? base : title + QStringLiteral(" - ") + base);
    });
    // Pages of the help file and the program's own pages open here; other addresses (the web, e-mail) go to
    // the system. Old help files link to their own pages as "ms-its:file.chm::/page.htm".
    connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        const QString text = url.toString();
        const qsizetype inside = text.indexOf(QLatin1String("::/"));
        if (url.scheme() == kChmScheme || url.scheme() == kBuiltInScheme)
            m_browser->setSource(url, QTextDocument::HtmlResource);
        else if (inside >= 0)
            m_browser->setSource(QUrl(kChmScheme + QLatin1Char(':') + text.mid(inside + 2)),
                                 QTextDocument::HtmlResource);
        else
            QDesktopServices::openUrl(url);
    });
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::showTopic(int topic)
{
    const QString page = m_file->topicPage(topic);
    const bool stored = !page.isEmpty() && m_file->read(page).has_value();
    m_browser->setSource(stored ? chmUrl(page) : builtInUrl(topic), QTextDocument::HtmlResource);
}

QString HelpWindow::helpFilePath() const
{
    return m_file->path();
}

QUrl HelpWindow::page() const
{
    return m_browser->source();
}

HelpWindow* ShowHelp(QWidget* parent, const QString& helpFilePath, int topic)
{
    HelpWindow* window = parent ? parent->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (window && window->helpFilePath() != helpFilePath) {
        delete window;
        window = nullptr;
    }
    if (!window)
        window = new HelpWindow(helpFilePath, parent);
    window->showTopic(topic);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
