#pragma once

#include <QUrl>
#include <QWidget>

class QAction;
class QTextBrowser;
class QToolButton;

// The help pages in a window of their own, with Back, Forward and Contents (Alt+Left, Alt+Right, Alt+Home).
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(const QUrl& contents);

    // Shows the contents page; the first time at the right side of the screen, as tall as the screen and
    // wide enough for the pictures of the pages; later at the place and size the user left it.
    void showContents();

    QTextBrowser* browser() const { return browser_; }
    QAction* backAction = nullptr;
    QAction* forwardAction = nullptr;
    QAction* contentsAction = nullptr;

private:
    void placeBesideMainWindow();

    QUrl contents_;
    QTextBrowser* browser_ = nullptr;
    bool placed_ = false;
};
