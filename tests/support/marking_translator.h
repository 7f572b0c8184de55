#pragma once

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QString>
#include <QStringList>
#include <QTranslator>
#include <QWidget>
#include <algorithm>

// A catalogue that "translates" every text into itself between ‹ and ›, its placeholders kept. Installed, it
// shows which texts reach the user through a translation, and that each is translated whole, its arguments
// filled in afterwards: "‹I/O error 5›", never "‹I/O error ›5" nor "I/O error 5".
class MarkingTranslator : public QTranslator {
public:
    static QString marked(const QString& text) {
        return QStringLiteral("\u2039") + text + QStringLiteral("\u203a");
    }
    static bool isMarked(const QString& text) {
        return text.startsWith(QChar(0x2039)) && text.endsWith(QChar(0x203a));
    }
    // A text that needs a translation: one with a word, not a bare number (whose exponent is an E).
    static bool hasWords(const QString& text) {
        return std::any_of(text.begin(), text.end(), [](QChar c) {
            return c.isLetter() && c != QLatin1Char('E') && c != QLatin1Char('e');
        });
    }

    QString translate(const char*, const char* sourceText, const char* = nullptr, int = -1) const override {
        return marked(QString::fromUtf8(sourceText));
    }
    bool isEmpty() const override { return false; }
};

// Installs a MarkingTranslator for its lifetime.
class MarkedTexts {
public:
    MarkedTexts() { QCoreApplication::installTranslator(&translator_); }
    ~MarkedTexts() { QCoreApplication::removeTranslator(&translator_); }
    MarkedTexts(const MarkedTexts&) = delete;
    MarkedTexts& operator=(const MarkedTexts&) = delete;

private:
    MarkingTranslator translator_;
};

// The texts with words of a window and its widgets that did not come through a translation: the window's
// title, labels, buttons, tool tips, and every accessible name and description. Each is named by its widget.
inline QStringList untranslatedTexts(const QWidget* window) {
    QList<const QWidget*> widgets{window};
    for (const QWidget* w : window->findChildren<QWidget*>()) widgets << w;
    QStringList out;
    for (const QWidget* w : widgets) {
        QStringList texts{w->windowTitle(), w->toolTip(), w->accessibleName(), w->accessibleDescription()};
        if (const auto* label = qobject_cast<const QLabel*>(w)) texts << label->text();
        if (const auto* button = qobject_cast<const QAbstractButton*>(w)) texts << button->text();
        for (const QString& text : texts)
            if (MarkingTranslator::hasWords(text) && !MarkingTranslator::isMarked(text))
                out << w->objectName() + QStringLiteral(": ") + text;
    }
    return out;
}
