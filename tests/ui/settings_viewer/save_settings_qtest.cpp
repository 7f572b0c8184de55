#include "ui/settings_viewer/save_settings.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "core/date_time.h"
#include "core/label_codec.h"
#include "core/sim_records.h"
#include "scripted_dialogs.h"
#include "settings_file/in_out_error.h"
#include "support/other_copy_lock.h"
#include "support/scratch_mount.h"
#include "support/sys_fault.h"
#include "support/temp_files.h"
#include "ui/common/error_guard.h"
#include "ui/common/other_copy_wait.h"

namespace {

const QString Report = QStringLiteral("EInOutError error raised with message: ");

QString confirmation(const QString& label, const QString& path) {
    return QStringLiteral("The current state settings, labled ") + label +
           QStringLiteral(", were saved to ") + path + QStringLiteral(".");
}

QString labelOf(const TState& s) {
    return QString::fromStdU16String(RecLabelText(s));
}

Bytes labelField(const TState& s) {
    return Bytes(s.bytes.begin() + TStateLayout::RecLabel,
                 s.bytes.begin() + TStateLayout::RecLabel + 1 + TStateLayout::LabelCapacity);
}

// One user at the program: the records, the scripted answers, and the data folder.
struct Session {
    SimRecords records;
    ScriptedDialogs dialogs;
    QString dataDir = QStringLiteral("/nonexistent/data/");

    void save(const std::optional<QString>& label, const std::optional<QString>& path = std::nullopt) {
        dialogs.inputAnswers.push_back(label);
        dialogs.saveAnswers.push_back(path);
        SaveSettings(records, dialogs, nullptr, dataDir);
    }
    TState saveAndSnapshot(const QString& label, const QString& path) {
        save(label, path);
        return records.CurSettings;
    }
};

// The stamp lies between two readings of the clock taken around the save.
bool stampedDuring(const TState& s, double before, double after) {
    return s.SaveDT() >= before && s.SaveDT() <= after;
}

void fillUp(const std::string& folder) {
    const int fd = ::open((folder + "/filler").c_str(), O_WRONLY | O_CREAT, 0644);
    QVERIFY(fd >= 0);
    const std::vector<char> chunk(4096, 'x');
    while (::write(fd, chunk.data(), chunk.size()) == static_cast<ssize_t>(chunk.size())) {
    }
    ::close(fd);
}

}  // namespace

class SaveSettingsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }

private slots:
    void newFileHoldsExactlyTheCurrentSettingsWithLabelAndDate() {
        Session s;
        s.dataDir = dir.path() + QStringLiteral("/");
        const QString file = path(QStringLiteral("new.tv0"));
        const double before = NowAsTDateTime();
        s.save(QStringLiteral("Orbit one"), file);
        const double after = NowAsTDateTime();

        TState expected = defaultSettings();
        expected.setLabelLength(9);
        std::memcpy(expected.labelChars(), "Orbit one", 9);
        QVERIFY(stampedDuring(s.records.CurSettings, before, after));
        expected.setSaveDT(s.records.CurSettings.SaveDT());
        QCOMPARE(s.records.CurSettings, expected);
        QCOMPARE(readBytes(file.toStdString()), bytesOf(expected));

        QCOMPARE(s.dialogs.shown.size(), 3u);
        const auto& input = s.dialogs.shown[0];
        QCOMPARE(input.kind, QStringLiteral("input"));
        QCOMPARE(input.caption, QStringLiteral("Saving Settings"));
        QCOMPARE(input.text,
                 QStringLiteral("You may add the current settings information to an existing .tv0 file "
                                "or name a new file.\r\nBut first, please enter a label describing this "
                                "group of settings. Maximum 100 characters."));
        QCOMPARE(input.maxLength, 255);
        const auto& save = s.dialogs.shown[1];
        QCOMPARE(save.kind, QStringLiteral("save"));
        QCOMPARE(save.file.title, QStringLiteral("Saving Settings"));
        QCOMPARE(save.file.initialDir, s.dataDir);
        QCOMPARE(save.file.defaultSuffix, QStringLiteral("tv0"));
        QVERIFY(!save.file.overwritePrompt);
        QVERIFY(!save.file.mustExist);
        static const QRegularExpression inBrackets(R"(\((.*)\))");
        for (const auto* name : {"a.tv0", "A.TV0"})
            QVERIFY(QDir::match(inBrackets.match(save.file.nameFilter).captured(1).split(' '),
                                QString::fromLatin1(name)));
        QCOMPARE(s.dialogs.texts(QStringLiteral("message")), QStringList{confirmation("Orbit one", file)});
    }

    void twoSavesGiveTwoRecordsInSavingOrder() {
        Session s;
        const QString file = path(QStringLiteral("two.tv0"));
        const TState first = s.saveAndSnapshot(QStringLiteral("first"), file);
        s.records.CurSettings.setCpT(7);
        const TState second = s.saveAndSnapshot(QStringLiteral("second"), file);
        QVERIFY(first != second);
        QCOMPARE(readBytes(file.toStdString()), fileImage({first, second}));
        QCOMPARE(s.dialogs.texts(QStringLiteral("message")),
                 QStringList({confirmation("first", file), confirmation("second", file)}));
    }

    void appendLandsAfterTheLastWholeRecord_data() {
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("tail");
        QTest::newRow("empty file") << 0 << 0;
        QTest::newRow("only a partial tail") << 0 << 292;
        QTest::newRow("one record") << 1 << 0;
        QTest::newRow("two records and a tail") << 2 << 100;
    }

    void appendLandsAfterTheLastWholeRecord() {
        QFETCH(int, records);
        QFETCH(int, tail);
        const QString file = path(QStringLiteral("existing.tv0"));
        std::vector<TState> content;
        content.reserve(static_cast<std::size_t>(records));
        for (int i = 0; i < records; ++i) content.push_back(patternRecord(i));
        writeBytes(file.toStdString(), fileImage(content, static_cast<std::size_t>(tail)));
        Session s;
        content.push_back(s.saveAndSnapshot(QStringLiteral("added"), file));
        QCOMPARE(readBytes(file.toStdString()), fileImage(content));
        QCOMPARE(s.dialogs.texts(QStringLiteral("message")), QStringList{confirmation("added", file)});
    }

    void labelIsStoredAndQuotedAsCut_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        const QString digits = QStringLiteral("0123456789").repeated(15);
        QTest::newRow("150 characters") << digits << digits.left(100);
        QTest::newRow("exactly 100") << digits.left(100) << digits.left(100);
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("outside the code page") << QStringLiteral("B\u0151d") << QStringLiteral("Bod");
    }

    void labelIsStoredAndQuotedAsCut() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        Session s;
        const QString file = path(QStringLiteral("label.tv0"));
        QFile::remove(file);
        s.save(typed, file);
        QCOMPARE(labelOf(s.records.CurSettings), stored);
        QCOMPARE(int(s.records.CurSettings.labelLength()), stored.size());
        TState onDisk;
        const Bytes bytes = readBytes(file.toStdString());
        QCOMPARE(bytes.size(), std::size_t(293));
        std::memcpy(onDisk.bytes.data(), bytes.data(), 293);
        QCOMPARE(labelOf(onDisk), stored);
        QCOMPARE(s.dialogs.texts(QStringLiteral("message")), QStringList{confirmation(stored, file)});
    }

    void shorterLabelKeepsTheOlderTailBytes() {
        Session s;
        const QString file = path(QStringLiteral("tail.tv0"));
        QFile::remove(file);
        s.save(QStringLiteral("ABCDEFGHIJ"), file);
        const Bytes longer = labelField(s.records.CurSettings);
        s.save(QStringLiteral("xyz"), file);
        Bytes expected = longer;
        expected[0] = 3;
        std::memcpy(&expected[1], "xyz", 3);
        QCOMPARE(labelField(s.records.CurSettings), expected);
        QCOMPARE(labelOf(s.records.CurSettings), QStringLiteral("xyz"));
        const Bytes bytes = readBytes(file.toStdString());
        QCOMPARE(Bytes(bytes.begin() + 293 + 4, bytes.begin() + 293 + 105), expected);
        QCOMPARE(s.dialogs.texts(QStringLiteral("message")).constLast(), confirmation("xyz", file));
    }

    void cancelAtTheLabelBoxChangesNothing() {
        Session s;
        s.records.CurSettings.setSaveDT(1.5);
        const TState before = s.records.CurSettings;
        s.save(std::nullopt, path(QStringLiteral("never.tv0")));
        QCOMPARE(s.records.CurSettings, before);
        QCOMPARE(s.dialogs.shown.size(), 1u);
        QVERIFY(!QFile::exists(path(QStringLiteral("never.tv0"))));
    }

    void cancelAtTheFileDialogKeepsTheLabelOnly() {
        Session s;
        s.records.CurSettings.setSaveDT(1.5);
        const auto before = namesIn(dir.path().toStdString());
        s.save(QStringLiteral("kept"), std::nullopt);
        QCOMPARE(labelOf(s.records.CurSettings), QStringLiteral("kept"));
        QCOMPARE(s.records.CurSettings.SaveDT(), 1.5);
        QCOMPARE(s.dialogs.shown.size(), 2u);
        QCOMPARE(namesIn(dir.path().toStdString()), before);
    }

    void readOnlyFileIsAccessDenied() {
        ScratchMount mount;
        if (!mount.ok()) QSKIP(qPrintable(QString::fromStdString(mount.why())));
        const std::string file = mount.path() + "/ro.tv0";
        const Bytes image = fileImage({patternRecord(1)});
        writeBytes(file, image);
        if (!mount.makeReadOnly()) QSKIP(qPrintable(QString::fromStdString(mount.why())));
        Session s;
        s.records.CurSettings.setSaveDT(1.5);
        const double before = NowAsTDateTime();
        s.save(QStringLiteral("denied"), QString::fromStdString(file));
        const double after = NowAsTDateTime();
        QCOMPARE(s.dialogs.texts(QStringLiteral("message")), QStringList{Report + "File access denied"});
        QCOMPARE(readBytes(file), image);
        QCOMPARE(labelOf(s.records.CurSettings), QStringLiteral("denied"));
        QVERIFY(stampedDuring(s.records.CurSettings, before, after));
    }

    void missingFolderIsInvalidFileName() {
        Session s;
        s.records.CurSettings.setSaveDT(1.5);
        const QString file = path(QStringLiteral("gone/new.tv0"));
        s.save(QStringLiteral("nowhere"), file);
        QCOMPARE(s.dialogs.texts(QStringLiteral("message")), QStringList{Report + "Invalid file name - %s"});
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("gone"))));
        QVERIFY(s.records.CurSettings.SaveDT() != 1.5);
        QCOMPARE(labelOf(s.records.CurSettings), QStringLiteral("nowhere"));
    }

    void fullDiskLeavesNoTornRecordAndNoEmptyNewFile() {
        ScratchMount mount;
        if (!mount.ok()) QSKIP(qPrintable(QString::fromStdString(mount.why())));
        // Exactly one page of records and tail: the next record needs a page the full disk cannot give.
        const std::string existing = mount.path() + "/full.tv0";
        const Bytes image = fileImage(std::vector<TState>(13, patternRecord(3)), 4096 - 13 * 293);
        writeBytes(existing, image);
        fillUp(mount.path());
        Session s;
        s.save(QStringLiteral("append"), QString::fromStdString(existing));
        s.save(QStringLiteral("create"), QString::fromStdString(mount.path() + "/new.tv0"));
        QCOMPARE(s.dialogs.texts(QStringLiteral("message")),
                 QStringList({Report + "Disk full", Report + "Disk full"}));
        QCOMPARE(readBytes(existing), image);
        QVERIFY(!QFile::exists(QString::fromStdString(mount.path() + "/new.tv0")));
    }

    void failedWriteLeavesNoTrace_data() {
        QTest::addColumn<bool>("existing");
        QTest::addColumn<int>("err");
        QTest::addColumn<int>("shortWrite");
        QTest::addColumn<QString>("text");
        for (const bool existing : {false, true}) {
            const char* which = existing ? "existing file: " : "new file: ";
            QTest::addRow("%scut short", which) << existing << 0 << 150 << QStringLiteral("Disk full");
            QTest::addRow("%sno space", which) << existing << ENOSPC << -1 << QStringLiteral("Disk full");
            QTest::addRow("%sdevice error", which) << existing << EIO << -1 << QStringLiteral("I/O error 5");
            QTest::addRow("%sfile-size limit", which)
                << existing << EFBIG << -1 << QStringLiteral("Disk full");
        }
    }

    void failedWriteLeavesNoTrace() {
        QFETCH(bool, existing);
        QFETCH(int, err);
        QFETCH(int, shortWrite);
        QFETCH(QString, text);
        const QString file = path(QStringLiteral("fault.tv0"));
        QFile::remove(file);
        const Bytes image = fileImage({patternRecord(1), patternRecord(2)}, 33);
        if (existing) writeBytes(file.toStdString(), image);
        Session s;
        {
            SysFault inject(SysCalls::Call::Write, 1, {err, shortWrite});
            s.save(QStringLiteral("torn"), file);
            QVERIFY(inject.fired());
        }
        QCOMPARE(s.dialogs.texts(QStringLiteral("message")), QStringList{Report + text});
        if (existing)
            QCOMPARE(readBytes(file.toStdString()), image);
        else
            QVERIFY(!QFile::exists(file));
    }

    // The new file is the link's target: a failed first write removes that file and keeps the user's link.
    void failedWriteThroughADanglingLinkRemovesTheTargetNotTheLink() {
        const QString link = path(QStringLiteral("link.tv0"));
        const QString target = path(QStringLiteral("target.tv0"));
        QFile::remove(link);
        QFile::remove(target);
        QVERIFY(QFile::link(target, link));
        Session s;
        {
            SysFault inject(SysCalls::Call::Write, 1, {ENOSPC});
            s.save(QStringLiteral("linked"), link);
            QVERIFY(inject.fired());
        }
        QCOMPARE(s.dialogs.texts(QStringLiteral("message")), QStringList{Report + "Disk full"});
        QCOMPARE(QFileInfo(link).symLinkTarget(), target);
        QVERIFY(!QFileInfo::exists(target));
        QFile::remove(link);
    }

    // Only a missing file may be created; any other failure of the check is reported, and a file that exists
    // is never emptied. One that appears between the check and the create is appended to.
    void theCheckForAnExistingFileIsTakenAtItsWord_data() {
        QTest::addColumn<int>("err");
        QTest::addColumn<QString>("report");
        QTest::newRow("device error") << EIO << QString(Report + "I/O error 5");
        QTest::newRow("no access") << EACCES << QString(Report + "File access denied");
        QTest::newRow("made by another process meanwhile") << ENOENT << QString();
    }

    void theCheckForAnExistingFileIsTakenAtItsWord() {
        QFETCH(int, err);
        QFETCH(QString, report);
        const QString file = path(QStringLiteral("three.tv0"));
        const Bytes before = fileImage({patternRecord(1), patternRecord(2), patternRecord(3)});
        writeBytes(file.toStdString(), before);
        Session s;
        {
            SysFault inject(SysCalls::Call::StatPath, 1, {err});
            s.save(QStringLiteral("checked"), file);
            QVERIFY(inject.fired());
        }
        if (!report.isEmpty()) {
            QCOMPARE(s.dialogs.texts(QStringLiteral("message")), QStringList{report});
            QCOMPARE(readBytes(file.toStdString()), before);
        } else {
            QCOMPARE(s.dialogs.texts(QStringLiteral("message")),
                     QStringList{confirmation(QStringLiteral("checked"), file)});
            Bytes after = before;
            const Bytes added = bytesOf(s.records.CurSettings);
            after.insert(after.end(), added.begin(), added.end());
            QCOMPARE(readBytes(file.toStdString()), after);
        }
    }

    // The other copy lets go while this one waits: before the box would show, or while it is up. Either way
    // the windows went on serving events meanwhile, and the record lands after the other copy's.
    void aSaveWaitsForAnotherCopyAsLongAsItNeeds_data() {
        QTest::addColumn<bool>("releasedAtTheBox");
        QTest::newRow("released before the box shows") << false;
        QTest::newRow("released while the box is up") << true;
    }

    void aSaveWaitsForAnotherCopyAsLongAsItNeeds() {
        QFETCH(bool, releasedAtTheBox);
        const QString file = path(QStringLiteral("busy.tv0"));
        const Bytes theirs = fileImage({patternRecord(1)});
        writeBytes(file.toStdString(), theirs);
        auto other = std::make_unique<OtherCopyLock>(file.toStdString());
        QVERIFY(other->locked());
        Session s;
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(10);
        int ticksAtTheBox = -1;
        bool busyAtTheBox = false;
        if (releasedAtTheBox) {
            s.dialogs.waitAnswers.push_back(true);
            s.dialogs.onShow = [&](const ScriptedDialogs::Shown& shown) {
                if (shown.kind != QStringLiteral("wait")) return;
                ticksAtTheBox = ticks;
                busyAtTheBox = QApplication::overrideCursor() &&
                               QApplication::overrideCursor()->shape() == Qt::BusyCursor;
                other.reset();
            };
        } else {
            QTimer::singleShot(OtherCopyWait::QuietMs / 5, this, [&] { other.reset(); });
        }
        s.save(QStringLiteral("patient"), file);
        ticker.stop();

        Bytes expected = theirs;
        const Bytes added = bytesOf(s.records.CurSettings);
        expected.insert(expected.end(), added.begin(), added.end());
        QCOMPARE(readBytes(file.toStdString()), expected);
        QCOMPARE(s.dialogs.texts(QStringLiteral("message")), QStringList{confirmation("patient", file)});
        QVERIFY(!QApplication::overrideCursor());
        if (releasedAtTheBox) {
            QCOMPARE(s.dialogs.texts(QStringLiteral("wait")),
                     QStringList{QStringLiteral("Waiting for another copy of Tulvane that is writing ") +
                                 file + QChar(0x2026)});
            QVERIFY2(ticksAtTheBox > 0, "the windows stood still before the box");
            QVERIFY(busyAtTheBox);
        }
    }

    void cancellingTheWaitForAnotherCopySavesNothingAndSaysSo() {
        const QString file = path(QStringLiteral("locked.tv0"));
        const Bytes before = fileImage({patternRecord(1)});
        writeBytes(file.toStdString(), before);
        OtherCopyLock other(file.toStdString());
        QVERIFY(other.locked());
        Session s;
        s.dialogs.waitAnswers.push_back(false);
        s.save(QStringLiteral("waiting"), file);
        QCOMPARE(s.dialogs.texts(QStringLiteral("wait")).size(), 1);
        QCOMPARE(s.dialogs.texts(QStringLiteral("message")),
                 QStringList{QStringLiteral("Nothing was saved: the settings file ") + file +
                             QStringLiteral(" is as it was.")});
        QCOMPARE(readBytes(file.toStdString()), before);
        QVERIFY(!QApplication::overrideCursor());
    }

    // Another copy must be able to write while this one waits for the user, whatever the box.
    void noBoxWaitsWhileThisCopyHoldsTheLock_data() {
        QTest::addColumn<bool>("existing");
        QTest::addColumn<int>("failingWrite");  // 0: none
        QTest::addColumn<bool>("otherCopyFirst");
        QTest::newRow("saved to a new file") << false << 0 << false;
        QTest::newRow("saved after waiting") << true << 0 << true;
        QTest::newRow("write fails") << true << EIO << false;
        QTest::newRow("write to a new file fails") << false << ENOSPC << false;
        QTest::newRow("write fails after waiting") << true << ENOSPC << true;
    }

    void noBoxWaitsWhileThisCopyHoldsTheLock() {
        QFETCH(bool, existing);
        QFETCH(int, failingWrite);
        QFETCH(bool, otherCopyFirst);
        const QString file = path(QStringLiteral("held.tv0"));
        QFile::remove(file);
        if (existing) writeBytes(file.toStdString(), fileImage({patternRecord(1)}));
        std::unique_ptr<OtherCopyLock> other;
        if (otherCopyFirst) other = std::make_unique<OtherCopyLock>(file.toStdString());
        Session s;
        s.dialogs.waitAnswers.push_back(true);
        QStringList heldDuring;
        s.dialogs.onShow = [&](const ScriptedDialogs::Shown& shown) {
            if (shown.kind == QStringLiteral("wait")) {
                other.reset();
                return;
            }
            // The lock the test holds for the other copy is not this copy's.
            if (!other && OtherCopyLock::heldOn(file.toStdString())) heldDuring << shown.kind;
        };
        std::unique_ptr<SysFault> fault;
        if (failingWrite)
            fault = std::make_unique<SysFault>(SysCalls::Call::Write, 1, SysCalls::Outcome{failingWrite});
        s.save(QStringLiteral("free"), file);
        QCOMPARE(s.dialogs.shown.size(), std::size_t(otherCopyFirst ? 4 : 3));
        QVERIFY2(heldDuring.isEmpty(), qPrintable(heldDuring.join(QStringLiteral(", "))));
    }

    void failedFinalCloseReachesTheGeneralReportWithoutConfirmation() {
        const QString file = path(QStringLiteral("close.tv0"));
        QFile::remove(file);
        Session s;
        s.dialogs.inputAnswers.push_back(QStringLiteral("closing"));
        s.dialogs.saveAnswers.push_back(file);
        {
            SysFault inject(SysCalls::Call::Close, 1, {EIO});
            guarded(s.dialogs, nullptr, [&] { SaveSettings(s.records, s.dialogs, nullptr, s.dataDir); });
            QVERIFY(inject.fired());
        }
        QCOMPARE(s.dialogs.texts(QStringLiteral("error")), QStringList{QStringLiteral("I/O error 5.")});
        QVERIFY(s.dialogs.texts(QStringLiteral("message")).isEmpty());
        QCOMPARE(readBytes(file.toStdString()), bytesOf(s.records.CurSettings));
    }
};

QTEST_MAIN(SaveSettingsTest)
#include "save_settings_qtest.moc"
