#include "WindowFixture.h"

#include "app/Startup.h"
#include "demo/DemoHost.h"

#include <QAction>
#include <QTest>

WindowFixture::WindowFixture(const QString& mode) : m_mode(mode)
{
    if (qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
        m_oldConfig = qgetenv("XDG_CONFIG_HOME");
}

WindowFixture::~WindowFixture()
{
    m_window.reset();
    session.host.closeAll();
    m_oldConfig ? qputenv("XDG_CONFIG_HOME", *m_oldConfig) : qunsetenv("XDG_CONFIG_HOME");
}

QString WindowFixture::dataDir() const
{
    return DemoHost::dataDir(m_dir.filePath(QStringLiteral("demo")));
}

bool WindowFixture::start()
{
    return start({});
}

bool WindowFixture::start(const std::function<void(const QString& dataDir)>& prepare)
{
    const QString demo = m_dir.filePath(QStringLiteral("demo"));
    QString error;
    if (!DemoHost::exists(demo) && !CreateDemoHost(demo, &error)) {
        qWarning("demo host: %s", qPrintable(error));
        return false;
    }
    if (prepare)
        prepare(dataDir());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(DemoHost::configDir(demo)));
    const Startup::Outcome outcome = Startup::Main(session, DemoHost::hostLine(m_mode), prompt);
    if (outcome.kind != Startup::Outcome::Kind::Ready) {
        qWarning("start-up refused: %s", qPrintable(outcome.reason));
        return false;
    }
    m_window = std::make_unique<R318grid>(session, prompt, browser);
    m_window->show();
    m_window->activateWindow();
    if (!QTest::qWaitForWindowActive(m_window.get()))
        qWarning("the window did not become active");
    return QTest::qWaitFor([this] { return m_window->isLoaded(); });
}

void WindowFixture::click(const QString& name) const
{
    QTest::mouseClick(find(name), Qt::LeftButton);
}

bool WindowFixture::trigger(const QString& item) const
{
    auto* action = find<QAction>(item);
    if (!action || !action->isEnabled())
        return false;
    action->trigger();
    return true;
}

void WindowFixture::close()
{
    m_window->close();
}
