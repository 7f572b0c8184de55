#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <climits>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>

#include "core/label_codec.h"
#include "other_copy_lock.h"
#include "scratch_mount.h"
#include "scripted_dialogs.h"
#include "settings_file/add_record.h"
#include "settings_file/checked_writes.h"
#include "settings_file/safe_rewrite.h"
#include "sys_fault.h"
#include "temp_files.h"
#include "test_settings_viewer.h"

namespace {
const QString ErrorPrefix = QStringLiteral("EInOutError error raised with message: ");

QStringList rows(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

QString changedText(const std::string& file) {
    return QStringLiteral("The settings file ") + QString::fromStdString(file) +
           QStringLiteral(
               " was changed by another program while it was shown here. To keep that change, "
               "nothing more was written to the file and it was not compacted: records already "
               "marked for deletion keep their marks. View the file again to see it as it is now.");
}

// The second copy of the program: its viewer marks record n and compacts, through the file layer.
void otherCopyDeletes(const std::string& file, std::int64_t n) {
    TStateFile f;
    f.assign(file);
    f.openExisting();
    FileIdentity known = f.identity();
    TState r;
    f.seek(n);
    f.read(r);
    r.setAction(1);
    rewriteRecordIfUnchanged(f, n, r, known);
    compactStateFileIfUnchanged(f, known);
}

void otherCopySaves(const std::string& file, const TState& record) {
    TStateFile f;
    f.assign(file);
    addRecordToFile(f, record);
    f.close();
}

QString labelOf(const TState& s) {
    return QString::fromStdU16String(RecLabelText(s));
}

void setBytes(TState& s, std::size_t offset, const Bytes& b) {
    std::memcpy(&s.bytes[offset], b.data(), b.size());
}

Bytes extendedPattern(std::uint64_t significand, std::uint16_t signExponent) {
    Bytes b(10);
    std::memcpy(b.data(), &significand, 8);
    std::memcpy(b.data() + 8, &signExponent, 2);
    return b;
}

Bytes doubleBytes(double d) {
    Bytes b(8);
    std::memcpy(b.data(), &d, 8);
    return b;
}

Bytes i32Bytes(std::int32_t x) {
    Bytes b(4);
    std::memcpy(b.data(), &x, 4);
    return b;
}
}  // namespace

class ViewFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<SimRecords> records;
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<TestSettingsViewer> form;
    int shownCount = 0;

    std::string path(const char* name = "saved.tv0") const {
        return (dir->path() + "/" + name).toStdString();
    }

    void makeForm() {
        form = std::make_unique<TestSettingsViewer>(*records, *dialogs, dir->path());
        shownCount = 0;
    }

    // Runs act inside the dialog's modal loop; the dialog is closed afterwards if act left it open.
    void whileShown(const std::function<void()>& act) {
        form->whileShown = [this, act] {
            ++shownCount;
            act();
            if (form->isVisible()) form->reject();
        };
    }

    void viewFile(const std::string& file, const std::function<void()>& act) {
        dialogs->openAnswers.push_back(QString::fromStdString(file));
        whileShown(act);
        form->viewSavedSettings();
    }

    // Records that differ in every byte, one per mark given.
    std::vector<TState> patternRecords(const std::vector<std::int32_t>& actions = {0, 0, 0}) {
        std::vector<TState> out;
        for (std::size_t i = 0; i < actions.size(); ++i) out.push_back(patternRecord(int(i), actions[i]));
        return out;
    }

    void press(const QString& keys) {
        for (const QChar k : keys) {
            QPushButton* b = nullptr;
            switch (k.toLatin1()) {
                case 'F':
                    b = form->FirstButton;
                    break;
                case 'L':
                    b = form->LastButton;
                    break;
                case 'N':
                    b = form->NextButton;
                    break;
                case 'P':
                    b = form->PreviousButton;
                    break;
                case 'D':
                    b = form->DeleteButton;
                    break;
                case 'U':
                    b = form->UndeleteButton;
                    break;
                case 'C':
                    b = form->CurrentButton;
                    break;
                default:
                    continue;
            }
            QTest::mouseClick(b, Qt::LeftButton);
        }
    }

    QStringList reports() const { return dialogs->texts("message"); }

private slots:
    void init() {
        QLocale::setDefault(QLocale::c());
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        records = std::make_unique<SimRecords>();
        dialogs = std::make_unique<ScriptedDialogs>();
        makeForm();
    }
    void cleanup() {
        form.reset();
        QLocale::setDefault(QLocale::c());
    }

    void currentViewShowsTheDefaultsWithoutTheRecordControls() {
        whileShown([this] {
            QCOMPARE(form->windowTitle(), QStringLiteral("Current State Settings"));
            QVERIFY(form->RecordPanel->isHidden());
            QVERIFY(form->finishedButton->isVisible());
            QCOMPARE(rows(form->ComLabels),
                     QStringList({"Label", "Record Version", "Action", "When Saved", "Background Color",
                                  "Plot Interval (sec)", "Calcs per Interval", "Scale Factor (m/pix)"}));
            QCOMPARE(rows(form->ComList),
                     QStringList({"", "1", "None", "Not saved", "00FF0000", "86400", "40", "1000000000"}));
            QCOMPARE(rows(form->BodyLabels), QStringList({"X Position (m)", "Y Position (m)", "Mass (kg)",
                                                          "Speed (km/sec)", "Azimuth (deg)", "Color"}));
            QCOMPARE(rows(form->AList),
                     QStringList({"200000000000", "100000000000", "2E30", "30", "115", "0000FFFF"}));
            QCOMPARE(rows(form->BList),
                     QStringList({"600000000000", "400000000000", "5E30", "2", "270", "000000FF"}));
            QCOMPARE(form->ALabel->text(), QStringLiteral("Body A"));
            QCOMPARE(form->BLabel->text(), QStringLiteral("Body B"));
            QCOMPARE(form->ColorAPanel->palette().color(QPalette::Window), QColor(255, 255, 0));
            QCOMPARE(form->ColorBPanel->palette().color(QPalette::Window), QColor(255, 0, 0));
        });
        form->viewCurrentSettings();
        QCOMPARE(shownCount, 1);
        QVERIFY(!form->isVisible());
        QVERIFY(dialogs->shown.empty());
        QVERIFY(namesIn(dir->path().toStdString()).empty());
    }

    void captionRowsStandBesideTheirValueRows() {
        whileShown([this] {
            const auto check = [](QListWidget* captions, QListWidget* values) {
                QCOMPARE(captions->y(), values->y());
                QCOMPARE(captions->count(), values->count());
                for (int i = 0; i < values->count(); ++i) {
                    const QRect c = captions->visualItemRect(captions->item(i));
                    const QRect v = values->visualItemRect(values->item(i));
                    QCOMPARE(c.top(), v.top());
                    QCOMPARE(v.height(), 14);
                    // Every row is visible without scrolling.
                    QVERIFY(v.bottom() < values->viewport()->height());
                }
            };
            check(form->BodyLabels, form->AList);
            check(form->BodyLabels, form->BList);
            check(form->ComLabels, form->ComList);
        });
        form->viewCurrentSettings();
        QCOMPARE(shownCount, 1);
    }

    void browsing_data() {
        QTest::addColumn<QString>("presses");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("count");
        QTest::newRow("opens on the first record") << "" << 0 << "Record 1 of 3";
        QTest::newRow("next steps forward") << "N" << 1 << "Record 2 of 3";
        QTest::newRow("next on the last record does nothing") << "NNN" << 2 << "Record 3 of 3";
        QTest::newRow("previous on the first record does nothing") << "P" << 0 << "Record 1 of 3";
        QTest::newRow("previous steps back") << "NNP" << 1 << "Record 2 of 3";
        QTest::newRow("last jumps to the end") << "L" << 2 << "Record 3 of 3";
        QTest::newRow("last then previous") << "LP" << 1 << "Record 2 of 3";
        QTest::newRow("first from the end") << "LF" << 0 << "Record 1 of 3";
        QTest::newRow("first and last where they already are") << "FFLL" << 2 << "Record 3 of 3";
        QTest::newRow("next after previous at the start") << "PN" << 1 << "Record 2 of 3";
    }

    void browsing() {
        QFETCH(QString, presses);
        QFETCH(int, shown);
        QFETCH(QString, count);
        const auto recs = patternRecords();
        writeBytes(path(), fileImage(recs));
        viewFile(path(), [&] {
            QCOMPARE(form->windowTitle(), QStringLiteral("Saved State Settings"));
            QVERIFY(form->RecordPanel->isVisible());
            QCOMPARE(form->FilenameLabel->text(), QString::fromStdString(path()));
            press(presses);
            QVERIFY(form->viewRec() == recs[shown]);
            QCOMPARE(form->CountLabel->text(), count);
            QCOMPARE(form->ComList->item(0)->text(), labelOf(recs[shown]));
        });
        QCOMPARE(shownCount, 1);
        QVERIFY(reports().isEmpty());
        QCOMPARE(readBytes(path()), fileImage(recs));
    }

    void firstAndLastReReadWhileNextAndPreviousAtTheEndsDoNothing() {
        auto recs = patternRecords();
        writeBytes(path(), fileImage(recs));
        TState changedFirst = patternRecord(7), changedLast = patternRecord(8);
        viewFile(path(), [&] {
            // Another program rewrites the records at both ends while they are shown.
            auto image = fileImage({changedFirst, recs[1], recs[2]});
            writeBytes(path(), image);
            press("P");
            QVERIFY(form->viewRec() == recs[0]);
            QCOMPARE(form->ComList->item(0)->text(), labelOf(recs[0]));
            press("F");
            QVERIFY(form->viewRec() == changedFirst);
            QCOMPARE(form->ComList->item(0)->text(), labelOf(changedFirst));
            QCOMPARE(form->CountLabel->text(), QStringLiteral("Record 1 of 3"));

            press("L");
            writeBytes(path(), fileImage({changedFirst, recs[1], changedLast}));
            press("N");
            QVERIFY(form->viewRec() == recs[2]);
            press("L");
            QVERIFY(form->viewRec() == changedLast);
            QCOMPARE(form->CountLabel->text(), QStringLiteral("Record 3 of 3"));
        });
        QVERIFY(reports().isEmpty());
    }

    void lastReachesRecordsAddedSinceOpeningButNextStopsAtTheOpeningCount() {
        auto recs = patternRecords();
        writeBytes(path(), fileImage(recs));
        const TState added = patternRecord(9);
        viewFile(path(), [&] {
            writeBytes(path(), fileImage({recs[0], recs[1], recs[2], added}));
            press("NN");
            press("N");
            QVERIFY(form->viewRec() == recs[2]);
            QCOMPARE(form->CountLabel->text(), QStringLiteral("Record 3 of 3"));
            press("L");
            QVERIFY(form->viewRec() == added);
            QCOMPARE(form->CountLabel->text(), QStringLiteral("Record 4 of 3"));
            press("P");
            QVERIFY(form->viewRec() == recs[2]);
            QCOMPARE(form->CountLabel->text(), QStringLiteral("Record 3 of 3"));
        });
        QVERIFY(reports().isEmpty());
    }

    void makeCurrentCopiesEveryByteOfTheShownRecord() {
        // A marked record with a stale label tail, filler and spares: everything comes along.
        const auto recs = patternRecords({0, 1, 0});
        writeBytes(path(), fileImage(recs));
        viewFile(path(), [&] {
            press("NC");
            QVERIFY(form->isVisible());
        });
        QVERIFY(records->CurSettings == recs[1]);
        QCOMPARE(records->CurSettings.Action(), 1);
        QCOMPARE(reports(), QStringList{"The saved state settings are now current."});
        QCOMPARE(readBytes(path()), fileImage(recs));
    }

    void finishedRemovesTheMarkedRecords_data() {
        QTest::addColumn<QList<int>>("actions");
        QTest::addColumn<int>("tail");
        QTest::addColumn<QString>("presses");
        QTest::addColumn<QList<int>>("kept");
        QTest::addColumn<QList<int>>("keptActions");
        QTest::newRow("middle deleted")
            << QList<int>{0, 0, 0} << 0 << "ND" << QList<int>{0, 2} << QList<int>{0, 0};
        QTest::newRow("both ends deleted, partial tail dropped")
            << QList<int>{0, 0, 0} << 100 << "DLD" << QList<int>{1} << QList<int>{0};
        QTest::newRow("delete then undelete still rewrites, dropping the tail")
            << QList<int>{0, 0, 0} << 57 << "NDU" << QList<int>{0, 1, 2} << QList<int>{0, 0, 0};
        QTest::newRow("every record deleted leaves an empty file")
            << QList<int>{0, 0, 0} << 12 << "DNDND" << QList<int>{} << QList<int>{};
        QTest::newRow("marks of an earlier viewing go too, other marks stay")
            << QList<int>{1, 2, 0} << 0 << "LD" << QList<int>{1} << QList<int>{2};
        QTest::newRow("deleting an already marked record")
            << QList<int>{1, 0, 0} << 0 << "D" << QList<int>{1, 2} << QList<int>{0, 0};
        QTest::newRow("undeleting an earlier mark keeps that record")
            << QList<int>{1, 0, 0} << 0 << "UND" << QList<int>{0, 2} << QList<int>{0, 0};
    }

    void finishedRemovesTheMarkedRecords() {
        QFETCH(QList<int>, actions);
        QFETCH(int, tail);
        QFETCH(QString, presses);
        QFETCH(QList<int>, kept);
        QFETCH(QList<int>, keptActions);
        const auto recs = patternRecords({actions[0], actions[1], actions[2]});
        writeBytes(path(), fileImage(recs, std::size_t(tail)));
        viewFile(path(), [&] {
            press(presses);
            QVERIFY(form->viewModified());
            QTest::mouseClick(form->finishedButton, Qt::LeftButton);
            QVERIFY(!form->isVisible());
        });
        QVERIFY(reports().isEmpty());
        QVERIFY(!form->viewFileOpen());
        std::vector<TState> expected;
        expected.reserve(static_cast<std::size_t>(kept.size()));
        for (int i = 0; i < kept.size(); ++i) expected.push_back(patternRecord(kept[i], keptActions[i]));
        QCOMPARE(readBytes(path()), fileImage(expected));
        QCOMPARE(namesIn(dir->path().toStdString()), std::vector<std::string>{"saved.tv0"});
    }

    void emptiedFileAsksForTheCurrentSettingsNextTime() {
        writeBytes(path(), fileImage(patternRecords({1, 1, 0})));
        viewFile(path(), [&] {
            press("LD");
            QTest::mouseClick(form->finishedButton, Qt::LeftButton);
        });
        QCOMPARE(readBytes(path()).size(), std::size_t(0));
        shownCount = 0;
        viewFile(path(), [] {});
        QCOMPARE(dialogs->texts("confirm").size(), 1);
        QCOMPARE(shownCount, 0);
    }

    void finishedWithoutMarksLeavesTheFileAlone() {
        const auto recs = patternRecords();
        writeBytes(path(), fileImage(recs, 40));
        viewFile(path(), [&] {
            press("NLU");
            QTest::mouseClick(form->finishedButton, Qt::LeftButton);
            QVERIFY(!form->isVisible());
        });
        QVERIFY(!form->viewFileOpen());
        QCOMPARE(readBytes(path()), fileImage(recs, 40));
    }

    void closingWithoutFinishedKeepsTheMarks_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("close box") << false;
        QTest::newRow("Esc") << true;
    }

    void closingWithoutFinishedKeepsTheMarks() {
        QFETCH(bool, escape);
        auto recs = patternRecords();
        writeBytes(path(), fileImage(recs, 10));
        viewFile(path(), [&] {
            press("ND");
            if (escape)
                QTest::keyClick(form.get(), Qt::Key_Escape);
            else
                QVERIFY(form->close());
            QVERIFY(!form->isVisible());
        });
        QCOMPARE(shownCount, 1);
        QVERIFY(!form->viewFileOpen());
        recs[1].setAction(1);
        QCOMPARE(readBytes(path()), fileImage(recs, 10));

        // The next viewing shows the mark; finishedButton without a new Delete does not compact.
        viewFile(path(), [&] {
            QCOMPARE(form->ComList->item(2)->text(), QStringLiteral("None"));
            press("N");
            QCOMPARE(form->ComList->item(2)->text(), QStringLiteral("Delete"));
            QVERIFY(!form->viewModified());
            QTest::mouseClick(form->finishedButton, Qt::LeftButton);
        });
        QCOMPARE(readBytes(path()), fileImage(recs, 10));
    }

    void currentViewAfterAMarkedViewingJustCloses() {
        const auto recs = patternRecords();
        writeBytes(path(), fileImage(recs));
        viewFile(path(), [&] {
            press("D");
            form->close();
        });
        whileShown([&] {
            QVERIFY(!form->viewModified());
            QTest::mouseClick(form->finishedButton, Qt::LeftButton);
            QVERIFY(!form->isVisible());
        });
        form->viewCurrentSettings();
        auto marked = recs;
        marked[0].setAction(1);
        QCOMPARE(readBytes(path()), fileImage(marked));
        QVERIFY(reports().isEmpty());
    }

    void emptyFileQuestion_data() {
        QTest::addColumn<int>("tail");
        QTest::addColumn<bool>("ok");
        QTest::newRow("empty, OK") << 0 << true;
        QTest::newRow("empty, Cancel") << 0 << false;
        QTest::newRow("partial record only, OK") << 100 << true;
        QTest::newRow("partial record only, Cancel") << 100 << false;
    }

    void emptyFileQuestion() {
        QFETCH(int, tail);
        QFETCH(bool, ok);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        makeForm();
        // A current record with a label of its own, to show it is neither used nor changed.
        SetRecLabel(records->CurSettings, u"my own label");
        const TState before = records->CurSettings;
        writeBytes(path(), fileImage({}, std::size_t(tail)));
        dialogs->confirmAnswers.push_back(ok);
        QString shownLabel, shownCountText;
        viewFile(path(), [&] {
            shownLabel = form->ComList->item(0)->text();
            shownCountText = form->CountLabel->text();
        });

        const QString name = QString::fromStdString(path());
        QCOMPARE(dialogs->texts("confirm"),
                 QStringList{"File " + name + " is empty.Would you like to add the current settings?"});
        QVERIFY(records->CurSettings == before);
        QVERIFY(!form->viewFileOpen());
        if (!ok) {
            QCOMPARE(shownCount, 0);
            QCOMPARE(readBytes(path()), fileImage({}, std::size_t(tail)));
            return;
        }
        QCOMPARE(shownCount, 1);
        QCOMPARE(shownCountText, QStringLiteral("Record 1 of 1"));
        const Bytes file = readBytes(path());
        QCOMPARE(file.size(), std::size_t(293));
        TState written;
        std::memcpy(written.bytes.data(), file.data(), 293);
        const QString label = labelOf(written);
        QCOMPARE(shownLabel, label);
        // The locale's short date and the time with seconds, no time-zone name.
        static const QRegularExpression shape(
            QStringLiteral("^Settings from \\d\\d\\.\\d\\d\\.\\d\\d( \\d\\d:\\d\\d:\\d\\d)?$"));
        QVERIFY2(shape.match(label).hasMatch(), qPrintable(label));
        QVERIFY(written.SaveDT() > 0);
        TState rest = written;
        rest.setSaveDT(before.SaveDT());
        std::memcpy(&rest.bytes[TStateLayout::RecLabel], &before.bytes[TStateLayout::RecLabel], 101);
        QVERIFY(rest == before);
    }

    void openDialogAsksForAnExistingSettingsFile() {
        form->viewSavedSettings();
        QCOMPARE(dialogs->shown.size(), std::size_t(1));
        const auto& open = dialogs->shown[0];
        QCOMPARE(open.kind, QStringLiteral("open"));
        QCOMPARE(open.file.title, QStringLiteral("Viewing Saved Settings"));
        QCOMPARE(open.file.nameFilter, QStringLiteral("Tulvane files (*.tv0 *.TV0)"));
        QCOMPARE(open.file.initialDir, dir->path());
        QVERIFY(open.file.mustExist);
        QCOMPARE(shownCount, 0);
    }

    void actionRowKeepsItsTextForOtherMarks() {
        const auto recs = patternRecords({2, 0, 2, 1, 2});
        writeBytes(path(), fileImage(recs));
        QStringList seen;
        viewFile(path(), [&] {
            for (int i = 0; i < 5; ++i) {
                seen << form->ComList->item(2)->text();
                press("N");
            }
            // Undelete leaves any mark but 1 alone, in the file too.
            press("U");
            QVERIFY(!form->viewModified());
        });
        QCOMPARE(seen, QStringList({"", "None", "None", "Delete", "Delete"}));
        QCOMPARE(readBytes(path()), fileImage(recs));
    }

    void readOnlyFileIsReportedAndNotShown() {
        ScratchMount mount;
        if (!mount.ok()) QSKIP(qPrintable(QString::fromStdString(mount.why())));
        const std::string file = mount.path() + "/locked.tv0";
        writeBytes(file, fileImage(patternRecords()));
        if (!mount.makeReadOnly()) QSKIP(qPrintable(QString::fromStdString(mount.why())));
        viewFile(file, [] {});
        QCOMPARE(shownCount, 0);
        QCOMPARE(reports(), QStringList{ErrorPrefix + "File access denied"});
        QVERIFY(!form->viewFileOpen());
    }

    void failedCompactionLeavesTheFileAsItWas_data() {
        QTest::addColumn<int>("call");
        QTest::addColumn<int>("nth");
        QTest::addColumn<int>("err");
        QTest::addColumn<int>("shortWrite");
        QTest::addColumn<QString>("text");
        using C = SysCalls::Call;
        QTest::newRow("folder cannot be opened") << int(C::Open) << 1 << EACCES << -1 << "File access denied";
        QTest::newRow("temporary file cannot be created") << int(C::Open) << 2 << ENOSPC << -1 << "Disk full";
        QTest::newRow("permissions cannot be copied")
            << int(C::Chmod) << 1 << EPERM << -1 << "File access denied";
        QTest::newRow("second record write fails") << int(C::Write) << 2 << EIO << -1 << "I/O error 5";
        QTest::newRow("short write") << int(C::Write) << 1 << 0 << 100 << "Disk full";
        QTest::newRow("flush fails") << int(C::DataSync) << 1 << EIO << -1 << "I/O error 5";
        QTest::newRow("closing the copy fails") << int(C::Close) << 2 << EIO << -1 << "I/O error 5";
        QTest::newRow("rename fails") << int(C::Rename) << 1 << EACCES << -1 << "File access denied";
    }

    void failedCompactionLeavesTheFileAsItWas() {
        QFETCH(int, call);
        QFETCH(int, nth);
        QFETCH(int, err);
        QFETCH(int, shortWrite);
        QFETCH(QString, text);
        auto recs = patternRecords();
        writeBytes(path(), fileImage(recs, 20));
        bool fired = false;
        viewFile(path(), [&] {
            press("D");
            SysFault fault(SysCalls::Call(call), nth, SysCalls::Outcome{err, shortWrite});
            QTest::mouseClick(form->finishedButton, Qt::LeftButton);
            fired = fault.fired();
            QVERIFY(!form->isVisible());
        });
        QVERIFY(fired);
        QCOMPARE(reports(), QStringList{ErrorPrefix + text});
        QVERIFY(!form->viewFileOpen());
        recs[0].setAction(1);
        QCOMPARE(readBytes(path()), fileImage(recs, 20));
        QCOMPARE(namesIn(dir->path().toStdString()), std::vector<std::string>{"saved.tv0"});
    }

    void compactionOnAFullDiskLeavesTheFileAsItWas() {
        ScratchMount mount(64 * 1024);
        if (!mount.ok()) QSKIP(qPrintable(QString::fromStdString(mount.why())));
        const std::string file = mount.path() + "/full.tv0";
        std::vector<TState> recs;
        recs.reserve(60);
        for (int i = 0; i < 60; ++i) recs.push_back(patternRecord(i));
        writeBytes(file, fileImage(recs));
        // Fill what is left, so the compacted copy cannot be written.
        writeBytes(mount.path() + "/filler", Bytes(64 * 1024, 0x55));
        const auto before = namesIn(mount.path());
        dialogs->openAnswers.push_back(QString::fromStdString(file));
        whileShown([&] {
            press("D");
            QTest::mouseClick(form->finishedButton, Qt::LeftButton);
        });
        form->viewSavedSettings();
        QCOMPARE(reports(), QStringList{ErrorPrefix + "Disk full"});
        recs[0].setAction(1);
        QCOMPARE(readBytes(file), fileImage(recs));
        QCOMPARE(namesIn(mount.path()), before);
    }

    void lostFileReportsCode103AndFinishedLeavesTheFileAlone() {
        auto recs = patternRecords();
        writeBytes(path(), fileImage(recs));
        viewFile(path(), [&] {
            press("D");
            {
                SysFault fault(SysCalls::Call::Read, 1, SysCalls::Outcome{EIO, -1});
                press("N");
            }
            QVERIFY(!form->viewFileOpen());
            QVERIFY(form->viewRec() == [&] {
                TState r = recs[0];
                r.setAction(1);
                return r;
            }());
            press("FLNPU");
            // Delete changes the shown mark before the file step fails.
            press("D");
            QCOMPARE(form->ComList->item(2)->text(), QStringLiteral("Delete"));
            press("C");
            QTest::mouseClick(form->finishedButton, Qt::LeftButton);
            QVERIFY(!form->isVisible());
        });
        const QString lost = ErrorPrefix + "I/O error 103";
        QCOMPARE(reports(), QStringList({ErrorPrefix + "I/O error 5", lost, lost, lost, lost, lost, lost,
                                         "The saved state settings are now current.", lost}));
        QCOMPARE(records->CurSettings.Action(), 1);
        recs[0].setAction(1);
        QCOMPARE(readBytes(path()), fileImage(recs));
        QCOMPARE(namesIn(dir->path().toStdString()), std::vector<std::string>{"saved.tv0"});
    }

    void damagedRecordsAreShownAsText_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        const auto qb = [](const Bytes& b) {
            return QByteArray(reinterpret_cast<const char*>(b.data()), b.size());
        };
        using namespace TStateLayout;
        QTest::newRow("quiet NaN interval")
            << int(dT) << qb(extendedPattern(0xC000000000000000, 0x7FFF)) << "Com" << 5 << "NAN";
        QTest::newRow("signalling NaN position")
            << int(APos) << qb(extendedPattern(0x8000000000000001, 0x7FFF)) << "A" << 0 << "NAN";
        QTest::newRow("infinite scale")
            << int(sf) << qb(extendedPattern(0x8000000000000000, 0x7FFF)) << "Com" << 7 << "INF";
        QTest::newRow("negative infinite mass")
            << int(AMass) << qb(extendedPattern(0x8000000000000000, 0xFFFF)) << "A" << 2 << "-INF";
        QTest::newRow("unnormal mass")
            << int(BMass) << qb(extendedPattern(0x4000000000000000, 0x4000)) << "B" << 2 << "NAN";
        QTest::newRow("pseudo-denormal azimuth")
            << int(ADir) << qb(extendedPattern(0xC000000000000000, 0x0000)) << "A" << 4
            << "5.04315471466814E-4932";
        QTest::newRow("pseudo-infinity speed")
            << int(BSpeed) << qb(extendedPattern(0x0000000000000000, 0x7FFF)) << "B" << 3 << "NAN";
        QTest::newRow("NaN save date")
            << int(SaveDT) << qb(doubleBytes(std::nan(""))) << "Com" << 3 << "Not saved";
        QTest::newRow("negative zero save date")
            << int(SaveDT) << qb(doubleBytes(-0.0)) << "Com" << 3 << "Not saved";
        QTest::newRow("infinite save date")
            << int(SaveDT) << qb(doubleBytes(HUGE_VAL)) << "Com" << 3 << "Invalid date";
        QTest::newRow("save date far in the future")
            << int(SaveDT) << qb(doubleBytes(1e300)) << "Com" << 3 << "Invalid date";
        QTest::newRow("save date in the year 10000")
            << int(SaveDT) << qb(doubleBytes(2958466.0)) << "Com" << 3 << "Invalid date";
        QTest::newRow("save date before the year 1")
            << int(SaveDT) << qb(doubleBytes(-693594.0)) << "Com" << 3 << "Invalid date";
        QTest::newRow("negative version") << int(RecVersion) << qb(i32Bytes(-1)) << "Com" << 1 << "-1";
        QTest::newRow("lowest step count")
            << int(cpT) << qb(i32Bytes(INT_MIN)) << "Com" << 6 << "-2147483648";
        QTest::newRow("colour with high byte") << int(CColor) << qb(i32Bytes(-1)) << "Com" << 4 << "FFFFFFFF";
    }

    void damagedRecordsAreShownAsText() {
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, list);
        QFETCH(int, row);
        QFETCH(QString, text);
        TState rec = defaultSettings();
        setBytes(rec, std::size_t(offset), Bytes(bytes.begin(), bytes.end()));
        writeBytes(path(), fileImage({defaultSettings(), rec}));
        QString shown;
        viewFile(path(), [&] {
            press("N");
            QListWidget* l = list == "A" ? form->AList : list == "B" ? form->BList : form->ComList;
            shown = l->item(row)->text();
        });
        QCOMPARE(shown, text);
        QVERIFY(dialogs->texts("message").isEmpty());
        QVERIFY(dialogs->texts("error").isEmpty());
    }

    void overlongLabelLengthShowsAHundredCharacters() {
        TState rec = defaultSettings();
        rec.setLabelLength(255);
        std::memset(rec.labelChars(), 'x', 100);
        writeBytes(path(), fileImage({rec}));
        viewFile(path(), [&] { QCOMPARE(form->ComList->item(0)->text(), QString(100, QLatin1Char('x'))); });
        QCOMPARE(shownCount, 1);
    }

    void valuesUseTheLocaleFormats_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("saveDT");
        QTest::addColumn<QString>("whenSaved");
        QTest::addColumn<QString>("speed");
        // 45000 is 15 March 2023.
        QTest::newRow("German evening") << "de_DE" << 45000.75 << "15.03.23 18:00:00"
                                        << "29,5";
        QTest::newRow("German midnight has no time") << "de_DE" << 45000.0 << "15.03.23"
                                                     << "29,5";
        QTest::newRow("US afternoon") << "en_US" << 45000.5 + 5.0 / 86400 << "3/15/23 12:00:05 PM"
                                      << "29.5";
        QTest::newRow("Finnish morning") << "fi_FI" << 45000.25 + 61.0 / 86400 << "15.3.2023 6.01.01"
                                         << "29,5";
        QTest::newRow("before the epoch") << "de_DE" << -1.25 << "29.12.99 06:00:00"
                                          << "29,5";
        QTest::newRow("one millisecond past midnight shows the time")
            << "de_DE" << 45000.0 + 0.001 / 86400 << "15.03.23 00:00:00"
            << "29,5";
    }

    void valuesUseTheLocaleFormats() {
        QFETCH(QString, locale);
        QFETCH(double, saveDT);
        QFETCH(QString, whenSaved);
        QFETCH(QString, speed);
        QLocale::setDefault(QLocale(locale));
        makeForm();
        TState rec = defaultSettings();
        rec.setSaveDT(saveDT);
        rec.setASpeed(29.5L);
        writeBytes(path(), fileImage({rec}));
        QString shownDate, shownSpeed;
        viewFile(path(), [&] {
            shownDate = form->ComList->item(3)->text();
            shownSpeed = form->AList->item(3)->text();
        });
        QCOMPARE(shownDate, whenSaved);
        QCOMPARE(shownSpeed, speed);
    }

    // Copy 1 shows the file; copy 2 deletes a record and compacts; a save adds a record and is confirmed.
    // Copy 1's next mark or its compaction would bring the deleted record back and lose the saved one: it
    // must write nothing, say so, and close. Marks it wrote before the change stay.
    void aFileChangedByAnotherCopyIsNeitherMarkedNorCompacted_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("compactedByOther");
        QTest::addColumn<int>(
            "kept");  // records the other copy leaves: its compaction honours copy 1's marks
        QTest::newRow("delete after a compaction and a save") << QString() << QString("ND") << true << 3;
        QTest::newRow("finished after a compaction and a save") << QString("LD") << QString("F") << true << 2;
        QTest::newRow("undelete after a save") << QString("ND") << QString("U") << false << 4;
        QTest::newRow("finished after a save") << QString("D") << QString("F") << false << 4;
    }

    void aFileChangedByAnotherCopyIsNeitherMarkedNorCompacted() {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(bool, compactedByOther);
        QFETCH(int, kept);
        writeBytes(path(), fileImage(patternRecords()));
        Bytes theirs;
        viewFile(path(), [&] {
            press(before);
            if (compactedByOther) otherCopyDeletes(path(), 0);
            otherCopySaves(path(), patternRecord(7));
            theirs = readBytes(path());
            if (after == "F")
                QTest::mouseClick(form->finishedButton, Qt::LeftButton);
            else
                press(after);
            QVERIFY(!form->isVisible());
        });
        QCOMPARE(reports(), QStringList{changedText(path())});
        QVERIFY(!form->viewFileOpen());
        QCOMPARE(readBytes(path()), theirs);
        QCOMPARE(theirs.size(), std::size_t(kept) * 293);
        QCOMPARE(Bytes(theirs.end() - 293, theirs.end()), bytesOf(patternRecord(7)));
        QCOMPARE(namesIn(dir->path().toStdString()), std::vector<std::string>{"saved.tv0"});
    }

    void act(const QString& action) {
        if (action == "F")
            QTest::mouseClick(form->finishedButton, Qt::LeftButton);
        else
            press(action);
    }

    // Another copy saves into the viewed file, or compacts it, holding its lock for as long as that takes.
    // Each write of the viewer waits for it and is made once it lets go. When the user cancels the wait,
    // nothing is written, the mark shown goes back to what the file holds, and the viewer stays open with
    // the file, so that the same button works once the other copy is done.
    void writesWaitForAnotherCopy_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("cancelFirst");
        QTest::addColumn<QList<int>>("kept");
        QTest::addColumn<QList<int>>("keptActions");
        for (const bool cancel : {false, true}) {
            const char* how = cancel ? "cancelled, then again" : "waited for";
            QTest::addRow("delete %s", how) << ""
                                            << "D" << cancel << QList<int>{0, 1, 2} << QList<int>{1, 0, 0};
            QTest::addRow("undelete %s", how) << "D"
                                              << "U" << cancel << QList<int>{0, 1, 2} << QList<int>{0, 0, 0};
            QTest::addRow("finished %s", how) << "D"
                                              << "F" << cancel << QList<int>{1, 2} << QList<int>{0, 0};
        }
    }

    void writesWaitForAnotherCopy() {
        QFETCH(QString, before);
        QFETCH(QString, action);
        QFETCH(bool, cancelFirst);
        QFETCH(QList<int>, kept);
        QFETCH(QList<int>, keptActions);
        writeBytes(path(), fileImage(patternRecords()));
        std::unique_ptr<OtherCopyLock> other;
        dialogs->waitAnswers.push_back(!cancelFirst);
        dialogs->onShow = [&](const ScriptedDialogs::Shown& shown) {
            if (shown.kind == "wait" && !cancelFirst) other.reset();
        };
        viewFile(path(), [&] {
            press(before);
            const Bytes was = readBytes(path());
            const QString shownMark = form->ComList->item(2)->text();
            const std::int32_t mark = form->viewRec().Action();
            other = std::make_unique<OtherCopyLock>(path());
            QVERIFY(other->locked());
            act(action);
            if (cancelFirst) {
                QVERIFY(form->isVisible());
                QVERIFY(form->viewFileOpen());
                QCOMPARE(readBytes(path()), was);
                QCOMPARE(form->ComList->item(2)->text(), shownMark);
                QCOMPARE(form->viewRec().Action(), mark);
                other.reset();
                act(action);
            }
            QCOMPARE(form->isVisible(), action != "F");
        });
        const QString name = QString::fromStdString(path());
        QCOMPARE(dialogs->texts("wait"),
                 QStringList{"Waiting for another copy of Tulvane that is writing " + name + QChar(0x2026)});
        QCOMPARE(reports(), cancelFirst ? QStringList{"Nothing was changed: the settings file " + name +
                                                      " is as it was."}
                                        : QStringList{});
        std::vector<TState> expected;
        expected.reserve(static_cast<std::size_t>(kept.size()));
        for (int i = 0; i < kept.size(); ++i) expected.push_back(patternRecord(kept[i], keptActions[i]));
        QCOMPARE(readBytes(path()), fileImage(expected));
        QCOMPARE(namesIn(dir->path().toStdString()), std::vector<std::string>{"saved.tv0"});
    }

    void aCancelledWaitForTheFirstRecordOfAnEmptyFileShowsNothing() {
        writeBytes(path(), {});
        OtherCopyLock other(path());
        QVERIFY(other.locked());
        dialogs->confirmAnswers.push_back(true);
        dialogs->waitAnswers.push_back(false);
        viewFile(path(), [] {});
        QCOMPARE(shownCount, 0);
        QCOMPARE(dialogs->texts("wait").size(), 1);
        QCOMPARE(reports(), QStringList{"Nothing was changed: the settings file " +
                                        QString::fromStdString(path()) + " is as it was."});
        QVERIFY(!form->viewFileOpen());
        QCOMPARE(readBytes(path()).size(), std::size_t(0));
    }

    // Another copy must be able to write while this one waits for the user, whatever the box.
    void noBoxWaitsWhileThisViewerHoldsTheLock() {
        writeBytes(path(), {});
        QStringList heldDuring;
        dialogs->onShow = [&](const ScriptedDialogs::Shown& shown) {
            if (OtherCopyLock::heldOn(path())) heldDuring << shown.kind + ": " + shown.text.left(30);
        };
        dialogs->confirmAnswers.push_back(true);
        viewFile(path(), [&] {
            press("CD");
            SysFault fault(SysCalls::Call::Rename, 1, SysCalls::Outcome{EACCES, -1});
            QTest::mouseClick(form->finishedButton, Qt::LeftButton);
            QVERIFY(fault.fired());
        });
        writeBytes(path(), fileImage(patternRecords()));
        viewFile(path(), [&] {
            press("D");
            otherCopySaves(path(), patternRecord(7));
            press("U");
        });
        QCOMPARE(dialogs->texts("confirm").size(), 1);
        QCOMPARE(reports(), QStringList({"The saved state settings are now current.",
                                         ErrorPrefix + "File access denied", changedText(path())}));
        QVERIFY2(heldDuring.isEmpty(), qPrintable(heldDuring.join(" | ")));
    }

    // Another copy saves into the empty file between this viewer's opening and its first record.
    void anEmptyFileFilledByAnotherCopyBeforeTheFirstRecordIsLeftToIt() {
        writeBytes(path(), {});
        dialogs->confirmAnswers.push_back(true);
        int locks = 0;
        SysHook otherCopy([&](SysCalls::Call c) {
            if (c == SysCalls::Call::Lock && ++locks == 1) writeBytes(path(), fileImage({patternRecord(5)}));
            return SysCalls::Outcome{};
        });
        viewFile(path(), [] {});
        QCOMPARE(shownCount, 0);
        QCOMPARE(reports(), QStringList{changedText(path())});
        QVERIFY(!form->viewFileOpen());
        QCOMPARE(readBytes(path()), fileImage({patternRecord(5)}));
    }

    void ownWritesAreNotTakenForAnotherCopys() {
        writeBytes(path(), fileImage(patternRecords({0, 0, 0, 0})));
        viewFile(path(), [&] {
            press("DNDUNDND");
            QTest::mouseClick(form->finishedButton, Qt::LeftButton);
        });
        QVERIFY(reports().isEmpty());
        QCOMPARE(readBytes(path()), fileImage({patternRecord(1)}));
    }
};

QTEST_MAIN(ViewFormTest)
#include "settings_viewer_qtest.moc"
