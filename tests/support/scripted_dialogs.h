#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

#include "ui/main/platform_dialogs.h"

// A PlatformDialogs double for widget tests: answers come from queues filled by the test (an empty queue
// answers Cancel), and every box shown is recorded.
class ScriptedDialogs : public PlatformDialogs {
public:
    struct Shown {
        Shown(QString k = {}, QString t = {}, QString c = {})
            : kind(std::move(k)), text(std::move(t)), caption(std::move(c)) {}
        QString kind;  // "message", "error", "confirm", "input", "color", "open", "save"
        QString text;  // message text, prompt, or dialog title
        QString caption;
        FileOptions file;
        QColor initialColor;
        int maxLength = 0;
    };

    std::deque<bool> confirmAnswers;
    std::deque<std::optional<QString>> inputAnswers;  // nullopt = Cancel
    std::deque<std::optional<QColor>> colorAnswers;
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    std::vector<Shown> shown;
    // Runs inside a box, for tests that act while a modal box is up.
    std::function<void(const Shown&)> onShow;

    QStringList texts(const QString& kind) const {
        QStringList out;
        for (const auto& s : shown)
            if (s.kind == kind) out << s.text;
        return out;
    }

    void showMessage(QWidget*, const QString& text) override { record({"message", text}); }
    void showError(QWidget*, const QString& text) override { record({"error", text}); }
    bool confirm(QWidget*, const QString& text) override {
        record({"confirm", text});
        return pop(confirmAnswers).value_or(false);
    }
    bool inputQuery(QWidget*, const QString& caption, const QString& prompt, QString& value,
                    int maxLength) override {
        Shown s{"input", prompt, caption};
        s.maxLength = maxLength;
        record(s);
        auto a = pop(inputAnswers);
        if (!a || !*a) return false;
        value = (**a).left(maxLength);
        return true;
    }
    bool pickColor(QWidget*, QColor& color) override {
        Shown s{"color", {}};
        s.initialColor = color;
        record(s);
        auto a = pop(colorAnswers);
        if (!a || !*a) return false;
        color = **a;
        return true;
    }
    bool openFile(QWidget*, const FileOptions& options, QString& fileName) override {
        return file("open", options, fileName, openAnswers);
    }
    bool saveFile(QWidget*, const FileOptions& options, QString& fileName) override {
        return file("save", options, fileName, saveAnswers);
    }

private:
    template <class T>
    static std::optional<T> pop(std::deque<T>& q) {
        if (q.empty()) return std::nullopt;
        T v = q.front();
        q.pop_front();
        return v;
    }
    void record(const Shown& s) {
        shown.push_back(s);
        if (onShow) onShow(s);
    }
    bool file(const QString& kind, const FileOptions& options, QString& fileName,
              std::deque<std::optional<QString>>& answers) {
        Shown s{kind, options.title};
        s.file = options;
        record(s);
        auto a = pop(answers);
        if (!a || !*a) return false;
        fileName = **a;
        return true;
    }
};
