#pragma once

#include <QDialog>

// "About": the program's version (major.minor.revision) and a small animated picture. A click on the window,
// a label or the picture closes it.
class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    // The version shown: the project's major, minor and revision numbers joined by ".".
    static QString versionText();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};
