#include "ui/help/help_window.h"

#include <QAction>
#include <QHBoxLayout>
#include <QScreen>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {
// The widest picture of the pages is 660 pixels; this leaves room for the margins and a scroll bar.
constexpr int PageWidth = 720;
// What the window manager's frame is assumed to take before the window has been shown once.
constexpr int FrameGuess = 32;

QToolButton* toolButton(QWidget* parent, QAction* action) {
    auto* b = new QToolButton(parent);
    b->setDefaultAction(action);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setAutoRaise(true);
    return b;
}
}  // namespace

HelpWindow::HelpWindow(const QUrl& contents) : contents_(contents) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Tulvane Help"));
    setAttribute(Qt::WA_QuitOnClose, false);

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenExternalLinks(true);

    auto action = [this](const char* name, const QString& text, const QKeySequence& key) {
        auto* a = new QAction(text, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(key);
        //: A tool tip: the button's name and its key, "Back (Alt+Left)".
        a->setToolTip(tr("%1 (%2)").arg(text, key.toString(QKeySequence::NativeText)));
        addAction(a);
        return a;
    };
    //: The help window's button: the page shown before.
    backAction = action("backAction", tr("Back", "help page"), QKeySequence(Qt::ALT | Qt::Key_Left));
    //: The help window's button: the page shown after, when Back was used.
    forwardAction =
        action("forwardAction", tr("Forward", "help page"), QKeySequence(Qt::ALT | Qt::Key_Right));
    //: The help window's button: the contents page of the help.
    contentsAction =
        action("contentsAction", tr("Contents", "help page"), QKeySequence(Qt::ALT | Qt::Key_Home));
    backAction->setEnabled(false);
    forwardAction->setEnabled(false);
    connect(backAction, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forwardAction, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(contentsAction, &QAction::triggered, this, [this] { browser_->setSource(contents_); });
    connect(browser_, &QTextBrowser::backwardAvailable, backAction, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forwardAction, &QAction::setEnabled);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 4, 4, 0);
    bar->addWidget(toolButton(this, backAction));
    bar->addWidget(toolButton(this, forwardAction));
    bar->addWidget(toolButton(this, contentsAction));
    bar->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(bar);
    layout->addWidget(browser_);
}

void HelpWindow::showContents() {
    browser_->setSource(contents_);
    if (!placed_) placeBesideMainWindow();
    showNormal();
    raise();
    activateWindow();
}

void HelpWindow::placeBesideMainWindow() {
    placed_ = true;
    const QScreen* s = screen();
    if (!s) return;
    const QRect area = s->availableGeometry();
    const int width = std::min(PageWidth + 2 * browser_->frameWidth(), area.width() - FrameGuess);
    resize(width, std::max(200, area.height() - FrameGuess));
    // The frame's left and right borders are a few pixels; its title bar takes the rest of FrameGuess.
    move(area.right() + 1 - width - 8, area.top());
}
