#pragma once

#include <QCoreApplication>
#include <QString>
#include <QTranslator>

// A catalogue that "translates" every text into itself between ‹ and ›, its placeholders kept. Installed, it
// shows which texts reach the user through a translation, and that each is translated whole, its arguments
// filled in afterwards: "‹I/O error 5›", never "‹I/O error ›5" nor "I/O error 5".
class MarkingTranslator : public QTranslator {
public:
    static QString marked(const QString& text) {
        return QStringLiteral("\u2039") + text + QStringLiteral("\u203a");
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
