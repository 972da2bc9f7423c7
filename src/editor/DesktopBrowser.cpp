#include "editor/DesktopBrowser.h"

#include <QDesktopServices>
#include <QStringList>

#include <algorithm>

namespace {

// Messages logged while the browser starts may quote the address; its query holds the user's password.
QtMessageHandler g_previousHandler = nullptr;
QStringList g_hidden;

void hidingHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    QString text = message;
    for (const QString& secret : std::as_const(g_hidden))
        text.replace(secret, QStringLiteral("(query hidden)"));
    if (g_previousHandler)
        g_previousHandler(type, context, text);
}

class HiddenQuery
{
public:
    explicit HiddenQuery(const QUrl& url)
    {
        const QString forms[] = {url.query(QUrl::FullyDecoded), url.query(QUrl::PrettyDecoded),
                                 url.query(QUrl::FullyEncoded), url.query(QUrl::DecodeReserved)};
        for (const QString& form : forms) {
            if (!form.isEmpty() && !g_hidden.contains(form))
                g_hidden.append(form);
        }
        // The longest form first, so that a shorter one inside it cannot leave part of it behind.
        std::sort(g_hidden.begin(), g_hidden.end(),
                  [](const QString& a, const QString& b) { return a.size() > b.size(); });
        g_previousHandler = qInstallMessageHandler(hidingHandler);
    }
    ~HiddenQuery()
    {
        qInstallMessageHandler(g_previousHandler);
        g_previousHandler = nullptr;
        g_hidden.clear();
    }
    HiddenQuery(const HiddenQuery&) = delete;
    HiddenQuery& operator=(const HiddenQuery&) = delete;
};

} // namespace

bool DesktopBrowser::open(const QUrl& url)
{
    const HiddenQuery hidden(url);
    return QDesktopServices::openUrl(url);
}
