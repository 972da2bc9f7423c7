#pragma once

#include "ScriptedPrompt.h"

#include "app/Session.h"
#include "editor/R318grid.h"
#include "output/WebSubmission.h"

#include <QList>
#include <QTemporaryDir>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

// Records the addresses handed to the browser instead of starting one.
class RecordingBrowser : public Browser
{
public:
    bool open(const QUrl& url) override
    {
        opened.append(url);
        return result;
    }
    QList<QUrl> opened;
    bool result = true;
};

// The add-in's window, started the way the host starts it, on a fresh demo host in a temporary folder
// (XDG_CONFIG_HOME points at the demo's settings while the fixture lives). Messages go to a scripted prompt.
class WindowFixture
{
public:
    explicit WindowFixture(const QString& mode = QStringLiteral("color"));
    ~WindowFixture();
    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

    // The demo's data folder (ends with "/"), its report file and backup copy.
    QString dataDir() const;
    QString reportPath() const { return session.ReportDBPath; }

    // Runs start-up, shows the window, makes it the active window and waits until the report is loaded.
    // False (with the reason printed) when start-up was refused or the window never loaded.
    bool start();
    // The same, after `prepare` has changed the demo host (its data folder is passed) before start-up.
    bool start(const std::function<void(const QString& dataDir)>& prepare);

    R318grid* window() const { return m_window.get(); }
    template <typename T = QWidget> T* find(const QString& name) const
    {
        return m_window ? m_window->findChild<T*>(name) : nullptr;
    }
    // A left click on the widget of that name.
    void click(const QString& name) const;
    // Triggers the menu item with that object name (it must be enabled).
    bool trigger(const QString& item) const;
    // Closes the window as its title-bar button does; the window object stays for inspection.
    void close();

    Session session;
    ScriptedPrompt prompt;
    RecordingBrowser browser;

private:
    QTemporaryDir m_dir;
    QString m_mode;
    std::optional<QByteArray> m_oldConfig;
    std::unique_ptr<R318grid> m_window;
};
