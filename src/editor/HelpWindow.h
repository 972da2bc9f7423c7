#pragma once

#include <QUrl>
#include <QWidget>

#include <memory>

class HelpFile;
class QTextBrowser;

// The help viewer: a window of its own, owned by the window that asked for help and never modal, so that a
// modal chooser or preview that asked does not block it. It shows the help file's pages with their links and
// pictures; a topic the file does not have (or a missing file) gets the program's own page for it, with a note
// saying so.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    HelpWindow(const QString& helpFilePath, QWidget* parent = nullptr);
    ~HelpWindow() override;

    // Shows the topic's page.
    void showTopic(int topic);

    QString helpFilePath() const;
    // The address of the page shown: "chm:" and the page's path inside the help file ("chm:/pages/intro.htm"),
    // or "builtin:" and the topic ("builtin:2") for the program's own page.
    QUrl page() const;
    QTextBrowser* browser() const { return m_browser; }

private:
    std::unique_ptr<HelpFile> m_file;
    QTextBrowser* m_browser = nullptr;
};

// Opens help at a topic for the asking window (Help menu 1, F1 in the main window 2, in the archive chooser 13,
// in the preview 14): the window's help viewer, made when it has none yet, is brought to the front at the
// topic. Returns the viewer.
HelpWindow* ShowHelp(QWidget* parent, const QString& helpFilePath, int topic);
