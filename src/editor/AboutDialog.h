#pragma once

#include <QDialog>

class QLabel;
class SailboatPicture;

// "About": the program's version (major.minor.revision) and a small animated picture. A click on the window,
// a label or the picture closes it. It takes the colours and font of the window that opens it.
class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    // The version shown: the project's major, minor and revision numbers joined by ".".
    static QString versionText();
    // The same for any version text: its first three numbers, missing ones as 0 ("7.1" gives "7.1.0").
    static QString versionText(const QString& projectVersion);

    // The picture's animation step; it advances while the window is shown.
    int frame() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QLabel* addLabel(const QString& name, const QString& text);

    SailboatPicture* m_picture = nullptr;
};
