#pragma once

#include <QColor>
#include <QEventLoop>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>
#include <optional>

#include "ui/common/platform_dialogs.h"

// A PlatformDialogs double for widget tests: answers come from queues filled by the test (an empty queue
// answers Cancel), and every box shown is recorded.
class ScriptedDialogs : public PlatformDialogs {
public:
    struct Shown {
        Shown(QString k = {}, QString t = {}, QString c = {})
            : kind(std::move(k)), text(std::move(t)), caption(std::move(c)) {}
        QString kind;  // "message", "error", "warning", "confirm", "input", "color", "open", "save", "wait"
        QString text;  // message text, prompt, or dialog title
        QString caption;
        FileOptions file;
        QString proposedFile;  // the name a file dialog was opened with
        QColor initialColor;
        int maxLength = 0;
    };

    std::deque<bool> confirmAnswers;
    std::deque<std::optional<QString>> inputAnswers;  // nullopt = Cancel
    std::deque<std::optional<QColor>> colorAnswers;
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    // The box that waits for another copy: true waits until the lock is free, polling through the event loop
    // (the test lets the other copy go, from onShow or a timer); false cancels at once, as does an empty
    // queue. A wait that outlasts WaitLimitPolls gives up, so a broken test ends instead of hanging.
    std::deque<bool> waitAnswers;
    static constexpr int WaitLimitPolls = 600;
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
    void showWarning(QWidget*, const QString& text) override { record({"warning", text}); }
    bool confirm(QWidget*, const QString& text) override {
        record({"confirm", text});
        return pop(confirmAnswers);
    }
    bool inputQuery(QWidget*, const QString& caption, const QString& prompt, QString& value,
                    int maxLength) override {
        Shown s{"input", prompt, caption};
        s.maxLength = maxLength;
        record(s);
        QString typed;
        if (!pop(inputAnswers, typed)) return false;
        value = typed.left(maxLength);
        return true;
    }
    bool pickColor(QWidget*, QColor& color) override {
        Shown s{"color", {}};
        s.initialColor = color;
        record(s);
        QColor chosen;
        if (!pop(colorAnswers, chosen)) return false;
        color = chosen;
        return true;
    }
    bool openFile(QWidget*, const FileOptions& options, QString& fileName) override {
        return file("open", options, fileName, openAnswers);
    }
    bool saveFile(QWidget*, const FileOptions& options, QString& fileName) override {
        return file("save", options, fileName, saveAnswers);
    }
    bool waitForOtherCopy(QWidget*, const QString& text, const std::function<bool()>& tryAgain) override {
        record({"wait", text});
        if (!pop(waitAnswers)) return false;
        QEventLoop loop;
        QTimer poll;
        int polls = 0;
        bool taken = false;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            taken = tryAgain();
            if (taken || ++polls == WaitLimitPolls) loop.quit();
        });
        poll.start(PollMs);
        loop.exec();
        return taken;
    }

private:
    // An empty queue answers Cancel, as does a queued nullopt.
    template <class T>
    static bool pop(std::deque<std::optional<T>>& q, T& out) {
        if (q.empty()) return false;
        const bool answered = q.front().has_value();
        if (answered) out = *q.front();
        q.pop_front();
        return answered;
    }
    static bool pop(std::deque<bool>& q) {
        if (q.empty()) return false;
        const bool v = q.front();
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
        s.proposedFile = fileName;
        record(s);
        QString chosen;
        if (!pop(answers, chosen)) return false;
        fileName = chosen;
        return true;
    }
};
