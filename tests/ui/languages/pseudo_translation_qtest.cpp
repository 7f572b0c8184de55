#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextDocument>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>
#include <cmath>
#include <functional>

#include "app/accuracy_lab_wiring.h"
#include "app/graphs_wiring.h"
#include "readout_fixture.h"
#include "test_settings_viewer.h"
#include "ui/accuracy_lab/accuracy_lab_window.h"
#include "ui/common/ui_language.h"
#include "ui/graphs/graphs_dock.h"
#include "ui/help/help_window.h"

namespace {

const QString AccentedLower = QStringLiteral("åƀçďéƒĝĥîĵķľḿñöþǫŕšţüṽŵẋýž");
const QString AccentedUpper = QStringLiteral("ÅƁÇĎÉƑĜĤÎĴĶĽḾÑÖÞǪŔŠŢÜṼŴẊÝŽ");

// Every text 40 % longer, in accented letters, the way a translation into a longer language strains the
// windows. Placeholders (%1, %n, %L1), accelerators (&F, &&) and HTML tags and entities stay as they are.
class PseudoTranslator : public QTranslator {
public:
    static QString lengthened(const QString& source) {
        const bool rich = Qt::mightBeRichText(source);
        QString out;
        QString line;  // this line's accented letters, which the padding repeats
        const auto pad = [&out, &line] {
            for (qsizetype i = 0; i < (line.size() * 2 + 4) / 5; ++i) out += line[i % line.size()];
            line.clear();
        };
        qsizetype trailingTags = source.size();
        if (rich)
            while (trailingTags > 0 && source[trailingTags - 1] == QLatin1Char('>'))
                trailingTags = source.lastIndexOf(QLatin1Char('<'), trailingTags - 1);
        for (qsizetype i = 0; i < source.size();) {
            if (i == trailingTags) pad();
            const qsizetype kept = keptRun(source, i, rich);
            if (kept > 0) {
                out += QStringView(source).mid(i, kept);
                i += kept;
                continue;
            }
            const QChar c = source[i++];
            if (c == QLatin1Char('\n')) pad();
            const ushort u = c.unicode();
            if (u >= 'a' && u <= 'z') {
                line += AccentedLower[u - 'a'];
                out += line.back();
            } else if (u >= 'A' && u <= 'Z') {
                line += AccentedUpper[u - 'A'];
                out += line.back();
            } else {
                out += c;
            }
        }
        if (trailingTags == source.size()) pad();
        return out;
    }

    QString translate(const char*, const char* sourceText, const char* = nullptr, int = -1) const override {
        return lengthened(QString::fromUtf8(sourceText));
    }
    bool isEmpty() const override { return false; }

private:
    // How many characters from i stay untouched: a placeholder, an accelerator, a tag or an entity.
    static qsizetype keptRun(const QString& s, qsizetype i, bool rich) {
        const qsizetype n = s.size();
        if (s[i] == QLatin1Char('%')) {
            qsizetype j = i + 1;
            if (j < n && s[j] == QLatin1Char('L')) ++j;
            if (j < n && s[j] == QLatin1Char('n')) return j + 1 - i;
            const qsizetype digits = j;
            while (j < n && s[j].isDigit()) ++j;
            return j > digits ? j - i : 0;
        }
        if (rich && s[i] == QLatin1Char('<')) {
            const qsizetype close = s.indexOf(QLatin1Char('>'), i);
            return close < 0 ? 0 : close + 1 - i;
        }
        if (s[i] == QLatin1Char('&')) {
            const qsizetype semicolon = s.indexOf(QLatin1Char(';'), i);
            if (rich && semicolon > i && semicolon - i <= 8) return semicolon + 1 - i;
            return std::min<qsizetype>(2, n - i);
        }
        return 0;
    }
};

// The texts as an English catalogue gives them: the program's own.
class EnglishTranslator : public QTranslator {
public:
    QString translate(const char*, const char* sourceText, const char* = nullptr, int = -1) const override {
        return QString::fromUtf8(sourceText);
    }
    bool isEmpty() const override { return false; }
};

bool isControl(const QWidget* w) {
    return qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) ||
           qobject_cast<const QAbstractScrollArea*>(w) || qobject_cast<const QAbstractSlider*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QProgressBar*>(w) || w->inherits("QSplitter") || w->inherits("QMenuBar");
}

QString idOf(const QWidget* w) {
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
}

QString nameOf(const QWidget* w) {
    const QString name = idOf(w);
    const QString text = w->property("text").toString();
    return text.isEmpty() ? name : name + QStringLiteral(" \"") + text + QLatin1Char('"');
}

// The label's text as it is laid out, on one line unless it breaks lines itself.
QSize labelTextSize(const QLabel* l) {
    const bool rich = l->textFormat() == Qt::RichText ||
                      (l->textFormat() == Qt::AutoText && Qt::mightBeRichText(l->text()));
    if (rich) {
        QTextDocument doc;
        doc.setDefaultFont(l->font());
        doc.setDocumentMargin(0);
        doc.setHtml(l->text());
        return doc.size().toSize();
    }
    return l->fontMetrics().size(l->buddy() ? Qt::TextShowMnemonic : 0, l->text());
}

// Where a text does not fit its widget: its contents rectangle by font metrics; a push button also keeps the
// style's margins round its text.
QString cutText(const QWidget* w) {
    if (const auto* l = qobject_cast<const QLabel*>(w); l && !l->text().isEmpty()) {
        if (l->wordWrap())
            return l->heightForWidth(l->width()) > l->height() ? QStringLiteral("wraps past its bottom")
                                                               : QString();
        const int inset = 2 * l->margin() + std::max(0, l->indent());
        const QSize text = labelTextSize(l);
        const QRect room = l->contentsRect();
        if (text.width() > room.width() - inset || text.height() > room.height())
            return QStringLiteral("needs %1x%2, has %3x%4")
                .arg(text.width())
                .arg(text.height())
                .arg(room.width() - inset)
                .arg(room.height());
        return {};
    }
    if (const auto* b = qobject_cast<const QPushButton*>(w); b && !b->text().isEmpty()) {
        QStyleOptionButton opt;
        opt.initFrom(b);
        opt.rect = b->rect();
        const QSize margins = b->style()->sizeFromContents(QStyle::CT_PushButton, &opt, QSize(), b);
        const QSize text = b->fontMetrics().size(Qt::TextShowMnemonic, b->text());
        const QRect inside = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
        if (text.width() + margins.width() > b->width() || b->fontMetrics().height() > inside.height())
            return QStringLiteral("needs %1 wide and %2 high, has %3 and %4")
                .arg(text.width() + margins.width())
                .arg(b->fontMetrics().height())
                .arg(b->width())
                .arg(inside.height());
        return {};
    }
    if (const auto* b = qobject_cast<const QAbstractButton*>(w); b && !b->text().isEmpty()) {
        if (b->sizeHint().width() > b->width())
            return QStringLiteral("needs %1, has %2").arg(b->sizeHint().width()).arg(b->width());
        return {};
    }
    if (const auto* list = qobject_cast<const QListWidget*>(w)) {
        const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
        for (int i = 0; i < list->count(); ++i) {
            const QListWidgetItem* item = list->item(i);
            const QRect row = list->visualItemRect(item) & list->viewport()->rect();
            // The rows lay their texts out in fractions of a pixel, and cut one a fraction too long.
            const int need =
                static_cast<int>(std::ceil(QFontMetricsF(list->font()).horizontalAdvance(item->text()))) +
                2 * margin;
            if (!item->text().isEmpty() && need > row.width())
                return QStringLiteral("row \"%1\" needs %2, has %3")
                    .arg(item->text())
                    .arg(need)
                    .arg(row.width());
        }
    }
    return {};
}

// The cut texts of w and the widgets in it, and the ones that overlap or stick out of the panel they are
// placed on. A control's children are parts of it that it places itself, and other windows are looked at
// apart.
void collectFaults(QWidget* w, QWidget* top, QStringList& faults) {
    const QString cut = cutText(w);
    if (!cut.isEmpty()) faults << nameOf(w) + QStringLiteral(": ") + cut;
    if (w != top && isControl(w)) return;
    QList<QWidget*> shown;
    for (QObject* o : w->children())
        if (auto* c = qobject_cast<QWidget*>(o); c && !c->isWindow() && c->isVisibleTo(top)) shown << c;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (!w->rect().contains(shown[i]->geometry()))
            faults << nameOf(shown[i]) + QStringLiteral(" reaches out of ") + nameOf(w);
        for (qsizetype j = i + 1; j < shown.size(); ++j)
            if (shown[i]->geometry().intersects(shown[j]->geometry()))
                faults << nameOf(shown[i]) + QStringLiteral(" overlaps ") + nameOf(shown[j]);
        collectFaults(shown[i], top, faults);
    }
}

QStringList layoutFaults(QWidget* top) {
    QStringList faults;
    collectFaults(top, top, faults);
    return faults;
}

// Where every widget of top stands, by its place in the tree: its name, and its place among siblings of that
// name (the stacking order of siblings changes as they are raised).
void collectGeometry(const QWidget* w, const QString& path, QMap<QString, QRect>& out) {
    // A window stands where the window manager puts it; its size is its own.
    out.insert(path, w->isWindow() ? QRect(QPoint(), w->size()) : w->geometry());
    QHash<QString, int> seen;
    for (const QObject* o : w->children())
        if (const auto* c = qobject_cast<const QWidget*>(o)) {
            const QString id = idOf(c);
            collectGeometry(c, path + QLatin1Char('/') + id + QLatin1Char('#') + QString::number(seen[id]++),
                            out);
        }
}

}  // namespace

// The windows under a translation that lengthens every text: no text is cut and no control overlaps another.
// Under English they keep the classic geometry, pixel for pixel.
class PseudoTranslationTest : public ReadoutFixture {
    Q_OBJECT

    PseudoTranslator pseudo;
    EnglishTranslator english;
    GraphsDock* graphs = nullptr;
    AccuracyLabWindow* lab = nullptr;
    TestSettingsViewer* viewer = nullptr;
    HelpWindow* help = nullptr;

    enum Scene {
        MainReady,
        MainRunning,
        MainPaused,
        InitialState,
        InitialStateTyped,
        CurrentSettings,
        SavedSettings,
        OrbitReadout,
        AccuracyLab,
        Graphs,
        Help,
        ExportProgress
    };

    // As the program's start does for a catalogue of language; the pseudo-translation stands for any language
    // but English.
    static void speak(QTranslator& catalogue, const QString& language) {
        QCoreApplication::installTranslator(&catalogue);
        UiLanguage::set(language);
    }

    // Every window, built as the program builds them.
    void makeAllWindows() {
        makeWiredWindows({1200, 800});
        graphs = new GraphsDock(window);
        wireGraphs(*window, *readout, *graphs);
        lab = new AccuracyLabWindow(*records, *dialogs, window);
        wireAccuracyLab(*window, *lab);
        viewer = new TestSettingsViewer(*records, *dialogs, dataHome.path(), window);
        window->setSettingsViewer(viewer);
        help = new HelpWindow(QUrl());
        QCoreApplication::processEvents();
    }

    void dropAllWindows() {
        delete help;
        help = nullptr;
        lab = nullptr;
        viewer = nullptr;
        graphs = nullptr;
        closeWindow();
    }

    void setTypedValues(bool on) {
        if (initialStateDialog->typedValuesAction()->isChecked() != on)
            initialStateDialog->typedValuesAction()->trigger();
    }

    // Brings the scene about and hands its window to look, while it is up.
    void inScene(Scene scene, const std::function<void(QWidget*)>& look) {
        switch (scene) {
            case MainReady:
                return look(window);
            case MainRunning:
                runWith(*window, onStep, [&](int s) {
                    if (s != 40 * 3) return;
                    look(window);
                    window->controlRun(window->pauseButton);
                });
                return;
            case MainPaused:
                runAndPauseAt(40 * 3);
                return look(window);
            case InitialState:
            case InitialStateTyped:
                setTypedValues(scene == InitialStateTyped);
                window->bodyBInitialStateAction->trigger();
                look(initialStateDialog);
                initialStateDialog->cancel();
                setTypedValues(false);
                return;
            case CurrentSettings:
            case SavedSettings:
                viewer->whileShown = [&] {
                    look(viewer);
                    viewer->finish();
                };
                if (scene == CurrentSettings) return viewer->viewCurrentSettings();
                return viewSavedSettings();
            case OrbitReadout:
                window->orbitReadoutAction->setChecked(true);
                runAndPauseAt(40 * 3);
                QCoreApplication::processEvents();
                // Its dock scrolls a readout wider than the dock.
                return look(readout);
            case AccuracyLab:
                window->accuracyLabAction->trigger();
                return look(lab);
            case Graphs:
                window->graphsAction->setChecked(true);
                QCoreApplication::processEvents();
                return look(graphs);
            case Help:
                help->show();
                return look(help);
            case ExportProgress:
                return exportTrack(look);
        }
    }

    // A settings file of no records: the viewer offers to add the current settings, and shows that record.
    void viewSavedSettings() {
        const QString path = QDir(dataHome.path()).filePath(QStringLiteral("pseudo.tv0"));
        QFile::remove(path);
        QFile empty(path);
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        dialogs->confirmAnswers.push_back(true);
        viewer->viewSettingsFile(path);
    }

    void exportTrack(const std::function<void(QWidget*)>& look) {
        runAndPauseAt(40 * 3);
        QTemporaryDir out;
        dialogs->saveAnswers.push_back(out.filePath(QStringLiteral("track.csv")));
        window->exportTrackAction->trigger();
        auto* box = window->findChild<QProgressDialog*>();
        QVERIFY(box);
        look(box);
        QVERIFY(exportsDone());
    }

    // Where every widget of every scene's window stands.
    QMap<QString, QRect> geometryOfEveryScene() {
        QMap<QString, QRect> all;
        for (const Scene scene : {MainPaused, InitialState, InitialStateTyped, CurrentSettings, SavedSettings,
                                  OrbitReadout, AccuracyLab, Graphs, Help, ExportProgress}) {
            makeAllWindows();
            inScene(scene, [&](QWidget* top) {
                collectGeometry(top, QString::number(scene) + QLatin1Char(':') + idOf(top), all);
            });
            dropAllWindows();
        }
        return all;
    }

    // For looking at the windows: TULVANE_PSEUDO_SHOTS=<folder> keeps a picture of each.
    static void keepPicture(QWidget* top, const char* scene) {
        const QString folder = qEnvironmentVariable("TULVANE_PSEUDO_SHOTS");
        if (folder.isEmpty()) return;
        QString name = QString::fromLatin1(scene).replace(QLatin1Char(' '), QLatin1Char('-'));
        top->grab().save(QDir(folder).filePath(name.remove(QLatin1Char(',')) + QStringLiteral(".png")));
    }

private slots:
    void initTestCase() { keepDataAndConfigApart(); }
    void cleanup() {
        dropAllWindows();
        QCoreApplication::removeTranslator(&pseudo);
        QCoreApplication::removeTranslator(&english);
        UiLanguage::set(QString());
    }

    void pseudoTranslatorKeepsWhatMustStay_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("expected");
        QTest::newRow("letters") << "Run" << QStringLiteral("ŔüñŔü");
        QTest::newRow("placeholders") << "%1 of %n, %L2" << QStringLiteral("%1 öƒ %n, %L2ö");
        QTest::newRow("accelerator") << "E&xit" << QStringLiteral("É&xîţÉî");
        QTest::newRow("rich text") << "<b>A&amp;B</b>" << QStringLiteral("<b>Å&amp;ƁÅ</b>");
        QTest::newRow("lines") << "ab\ncd" << QStringLiteral("åƀå\nçďç");
        QTest::newRow("no letters") << "%1 (%2)" << QStringLiteral("%1 (%2)");
    }
    void pseudoTranslatorKeepsWhatMustStay() {
        QFETCH(QString, source);
        QFETCH(QString, expected);
        QCOMPARE(PseudoTranslator::lengthened(source), expected);
    }

    void noTextIsCutAndNothingOverlaps_data() {
        QTest::addColumn<int>("scene");
        QTest::newRow("main window, Ready") << int(MainReady);
        QTest::newRow("main window, Running") << int(MainRunning);
        QTest::newRow("main window, Paused") << int(MainPaused);
        QTest::newRow("initial state dialog") << int(InitialState);
        QTest::newRow("initial state dialog, typed values") << int(InitialStateTyped);
        QTest::newRow("current settings viewer") << int(CurrentSettings);
        QTest::newRow("saved settings viewer") << int(SavedSettings);
        QTest::newRow("orbit readout") << int(OrbitReadout);
        QTest::newRow("accuracy lab") << int(AccuracyLab);
        QTest::newRow("graphs") << int(Graphs);
        QTest::newRow("help window") << int(Help);
        QTest::newRow("export progress box") << int(ExportProgress);
    }
    void noTextIsCutAndNothingOverlaps() {
        QFETCH(int, scene);
        speak(pseudo, QStringLiteral("de"));
        makeAllWindows();
        QStringList faults;
        bool looked = false;
        inScene(Scene(scene), [&](QWidget* top) {
            looked = true;
            keepPicture(top, QTest::currentDataTag());
            faults = layoutFaults(top);
        });
        QVERIFY(looked);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // An English catalogue changes no pixel: every widget of every window stands where it stands without one.
    void englishKeepsTheClassicGeometry() {
        const QMap<QString, QRect> classic = geometryOfEveryScene();
        speak(english, QStringLiteral("en"));
        const QMap<QString, QRect> underEnglish = geometryOfEveryScene();
        QCOMPARE(underEnglish.keys(), classic.keys());
        for (auto it = classic.cbegin(); it != classic.cend(); ++it)
            QVERIFY2(underEnglish.value(it.key()) == it.value(), qPrintable(it.key()));
        // The same walk sees the windows grow under a longer language: the comparison above is no blind one.
        QCoreApplication::removeTranslator(&english);
        speak(pseudo, QStringLiteral("de"));
        QVERIFY(geometryOfEveryScene() != classic);
    }
};

QTEST_MAIN(PseudoTranslationTest)
#include "pseudo_translation_qtest.moc"
