#include "ui/settings_viewer/settings_viewer.h"

#include <QCoreApplication>
#include <QFile>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QTimer>
#include <cmath>

#include "core/date_time.h"
#include "core/label_codec.h"
#include "core/number_text.h"
#include "settings_file/checked_writes.h"
#include "settings_file/file_changed_error.h"
#include "settings_file/file_lock.h"
#include "settings_file/in_out_error.h"
#include "ui/common/color_conversion.h"
#include "ui/common/data_folder.h"
#include "ui/common/fit_to_text.h"
#include "ui/common/other_copy_wait.h"
#include "ui/common/platform_dialogs.h"
#include "ui/common/report_error.h"
#include "ui/common/settings_file_filter.h"
#include "ui/settings_viewer/save_date_text.h"

namespace {
constexpr int RowHeight = 14;

QFont formFont(int pixelSize, bool bold = false) {
    QFont f;
    f.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                   QStringLiteral("DejaVu Sans")});
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

QListWidget* makeList(QWidget* parent, QRect geometry, const QStringList& rows) {
    auto* list = new QListWidget(parent);
    list->setGeometry(geometry);
    list->setFont(formFont(12));
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setUniformItemSizes(true);
    // Display only: no row to pick and no focus frame on a row.
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus);
    for (const QString& text : rows) {
        auto* item = new QListWidgetItem(text, list);
        item->setSizeHint(QSize(geometry.width() - 4, RowHeight));
    }
    return list;
}

QFrame* makePanel(QWidget* parent, QRect geometry) {
    auto* panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(geometry);
    panel->setAutoFillBackground(true);
    return panel;
}

QPushButton* makeButton(QWidget* parent, const QString& text, QRect geometry) {
    auto* button = new QPushButton(text, parent);
    button->setGeometry(geometry);
    // Qt would make a button the dialog's default and press it on Enter; this dialog has no default button.
    button->setAutoDefault(false);
    return button;
}

void setSwatch(QFrame* panel, TColor c) {
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, colorOf(c));
    panel->setPalette(p);
}

QString qText(const std::string& s) {
    return QString::fromStdString(s);
}

QString changedFileText(const QString& fileName) {
    return QCoreApplication::translate(
               "SettingsViewer",
               "The settings file %1 was changed by another program while it was shown here. To keep that "
               "change, nothing more was written to the file and it was not compacted: records already "
               "marked "
               "for deletion keep their marks. View the file again to see it as it is now.")
        .arg(fileName);
}

QString nothingChangedText(const QString& fileName) {
    //: After Cancel in the box that waited for another copy of the program to finish writing the file %1.
    return QCoreApplication::translate("SettingsViewer",
                                       "Nothing was changed: the settings file %1 is as it was.")
        .arg(fileName);
}
}  // namespace

SettingsViewer::SettingsViewer(SimRecords& records, PlatformDialogs& dialogs, QString dataDir,
                               QWidget* parent)
    : QDialog(parent), records_(records), dialogs_(dialogs), dataDir_(std::move(dataDir)) {
    decimalSeparator_ = locale_.decimalPoint().toStdString();

    setFont(formFont(11));
    setFixedSize(447, 334);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    ALabel = new QLabel(tr("Body A"), this);
    ALabel->setFont(formFont(13, true));
    ALabel->move(135, 11);
    ALabel->adjustSize();
    BLabel = new QLabel(tr("Body B"), this);
    BLabel->setFont(formFont(13, true));
    BLabel->move(305, 11);
    BLabel->adjustSize();
    ColorAPanel = makePanel(this, QRect(200, 8, 25, 19));
    ColorBPanel = makePanel(this, QRect(368, 8, 25, 19));

    //: The rows of a body's values: its start position (X rightwards, Y downwards), mass, speed, the
    //: direction of its speed (azimuth, 0 is up) and its colour.
    BodyLabels = makeList(this, QRect(8, 33, 97, 88),
                          {tr("X Position (m)"), tr("Y Position (m)"), tr("Mass (kg)"), tr("Speed (km/sec)"),
                           tr("Azimuth (deg)"), tr("Color")});
    // The value rows exist from the start, empty, so that every fill writes rows in place.
    AList = makeList(this, QRect(112, 33, 160, 88), QStringList(6, QString()));
    BList = makeList(this, QRect(280, 33, 160, 88), QStringList(6, QString()));
    //: The rows of the values both bodies share. Action: whether the record is marked for deletion; Calcs
    //: per Interval: the integration steps between two plotted points; Scale Factor: metres per pixel.
    ComLabels = makeList(this, QRect(8, 136, 121, 121),
                         {tr("Label", "the record's label"), tr("Record Version"),
                          tr("Action", "deletion mark"), tr("When Saved"), tr("Background Color"),
                          tr("Plot Interval (sec)"), tr("Calcs per Interval"), tr("Scale Factor (m/pix)")});
    ComList = makeList(this, QRect(135, 136, 304, 121), QStringList(8, QString()));
    // Five lists side by side: a screen reader hears each value with the caption of its row.
    BodyLabels->setAccessibleName(tr("Body fields"));
    AList->setAccessibleName(tr("Body A values"));
    BList->setAccessibleName(tr("Body B values"));
    //: The captions of the values both bodies share.
    ComLabels->setAccessibleName(tr("Common fields"));
    ComList->setAccessibleName(tr("Common values"));
    ColorAPanel->setAccessibleName(tr("Body A colour"));
    ColorBPanel->setAccessibleName(tr("Body B colour"));

    RecordPanel = makePanel(this, QRect(8, 260, 362, 66));
    CountLabel = new QLabel(RecordPanel);
    CountLabel->setGeometry(6, 2, 232, 14);
    //: Makes the shown record the current settings.
    CurrentButton = makeButton(RecordPanel, tr("Make Current"), QRect(6, 18, 75, 23));
    //: Marks the shown record for deletion; Finished then removes it from the file.
    DeleteButton = makeButton(RecordPanel, tr("Delete", "button"), QRect(87, 18, 65, 23));
    UndeleteButton = makeButton(RecordPanel, tr("Undelete"), QRect(158, 18, 65, 23));
    //: Shows the file's first record.
    FirstButton = makeButton(RecordPanel, tr("First", "record"), QRect(244, 3, 51, 20));
    LastButton = makeButton(RecordPanel, tr("Last", "record"), QRect(244, 24, 51, 20));
    NextButton = makeButton(RecordPanel, tr("Next", "record"), QRect(301, 2, 51, 20));
    PreviousButton = makeButton(RecordPanel, tr("Previous", "record"), QRect(301, 24, 51, 20));
    FilenameLabel = new QLabel(RecordPanel);
    FilenameLabel->setGeometry(4, 46, 353, 16);
    //: The accessible name of the line "Record 2 of 7".
    CountLabel->setAccessibleName(tr("Record"));
    //: The accessible name of the line that shows the settings file's name.
    FilenameLabel->setAccessibleName(tr("File", "settings file name"));
    RecordPanel->hide();

    //: Closes the viewer; records marked for deletion are then removed from the file.
    finishedButton = makeButton(this, tr("Finished"), QRect(376, 284, 63, 25));

    connect(FirstButton, &QPushButton::clicked, this, &SettingsViewer::showFirstRecord);
    connect(LastButton, &QPushButton::clicked, this, &SettingsViewer::showLastRecord);
    connect(NextButton, &QPushButton::clicked, this, &SettingsViewer::showNextRecord);
    connect(PreviousButton, &QPushButton::clicked, this, &SettingsViewer::showPreviousRecord);
    connect(CurrentButton, &QPushButton::clicked, this, &SettingsViewer::makeRecordCurrent);
    connect(DeleteButton, &QPushButton::clicked, this, &SettingsViewer::markForDeletion);
    connect(UndeleteButton, &QPushButton::clicked, this, &SettingsViewer::unmarkForDeletion);
    connect(finishedButton, &QPushButton::clicked, this, &SettingsViewer::finish);
    // Room for the count of a file of millions of records.
    reserveTexts(CountLabel, {countText(9999999, 9999999)});
    fitToText(this);
}

void SettingsViewer::viewCurrentSettings() {
    viewedFileModified_ = false;
    RecordPanel->hide();
    setWindowTitle(tr("Current State Settings"));
    showRecord(records_.CurSettings);
    showModally();
}

void SettingsViewer::viewSavedSettings() {
    PlatformDialogs::FileOptions options;
    //: The title of the file dialog that chooses a settings file to view.
    options.title = tr("Viewing Saved Settings");
    options.nameFilter = settingsFileFilter();
    options.initialDir = DataFolder::classicStartFolder(dataDir_);
    options.mustExist = true;
    QString name;
    if (!dialogs_.openFile(parentWidget(), options, name)) return;
    viewSettingsFile(name);
}

void SettingsViewer::viewSettingsFile(const QString& name) {
    viewedFileName_ = name;
    viewedFile_.assign(QFile::encodeName(viewedFileName_).toStdString());
    try {
        viewedFile_.openExisting();
        viewedFileIdentity_ = viewedFile_.identity();
        if (viewedFile_.atEnd()) {
            //: %1 is the file's name. The two sentences have no space between them in the English text.
            const QString question =
                tr("File %1 is empty.Would you like to add the current settings?").arg(viewedFileName_);
            if (!dialogs_.confirm(parentWidget(), question)) {
                viewedFile_.closeQuietly();
                return;
            }
            TState first = records_.CurSettings;
            first.setSaveDT(NowAsTDateTime());
            // Written into the file, in the file's own code page: not translated.
            const QString label = QStringLiteral("Settings from ") + DateTimeText(NowAsTDateTime(), locale_);
            SetRecLabel(first, label.toStdU16String());
            viewedRecord_ = first;
            // Over any partial tail at byte 0; a write that fails part-way leaves the file as it was.
            OtherCopyWait wait(dialogs_, parentWidget(), viewedFileName_);
            appendRecordIfUnchanged(viewedFile_, viewedRecord_, viewedFileIdentity_, &wait);
            viewedFile_.seek(0);
        }
        TState rec;
        viewedFile_.read(rec);
        viewedRecord_ = rec;
        viewedRecordCount_ = viewedFile_.size();
    } catch (const LockWaitCancelled&) {
        viewedFile_.closeQuietly();
        dialogs_.showMessage(parentWidget(), nothingChangedText(viewedFileName_));
        return;
    } catch (const FileChangedError&) {
        // Emptied or replaced between the opening and the first record: the dialog is not shown.
        dialogs_.showMessage(parentWidget(), changedFileText(viewedFileName_));
        viewedFile_.closeQuietly();
        return;
    } catch (const std::exception& e) {
        ReportError(dialogs_, parentWidget(), e);
        viewedFile_.closeQuietly();
        return;
    }

    viewedFileModified_ = false;
    RecordPanel->show();
    setWindowTitle(tr("Saved State Settings"));
    FilenameLabel->setText(viewedFileName_);
    setCountLabel(1);
    showRecord(viewedRecord_);
    showModally();
}

void SettingsViewer::showRecord(const TState& V) {
    const TState v = V;
    setSwatch(ColorAPanel, v.AColor());
    setSwatch(ColorBPanel, v.BColor());

    setRow(ComList, 0, QString::fromStdU16String(RecLabelText(v)));
    setRow(ComList, 1, qText(IntegerText(v.RecVersion())));
    // Any other mark (written by another program) leaves the row as it was.
    if (v.Action() == 0) setRow(ComList, 2, noMarkText());
    if (v.Action() == 1) setRow(ComList, 2, deleteMarkText());
    const double saved = v.SaveDT();
    //: When Saved, for a record that was never saved to a file (the current settings).
    setRow(ComList, 3, saved == 0 || std::isnan(saved) ? tr("Not saved") : DateTimeText(saved, locale_));
    setRow(ComList, 4, colorCode(v.CColor()));
    setRow(ComList, 5, general(v.dT()));
    setRow(ComList, 6, qText(IntegerText(v.cpT())));
    setRow(ComList, 7, general(v.sf()));

    const auto fillBody = [this](QListWidget* list, const TVector& pos, Extended mass, Extended speed,
                                 Extended dir, TColor color) {
        setRow(list, 0, general(pos.u));
        setRow(list, 1, general(pos.v));
        setRow(list, 2, general(mass));
        setRow(list, 3, general(speed));
        setRow(list, 4, general(dir));
        setRow(list, 5, colorCode(color));
    };
    fillBody(AList, v.APos(), v.AMass(), v.ASpeed(), v.ADir(), v.AColor());
    fillBody(BList, v.BPos(), v.BMass(), v.BSpeed(), v.BDir(), v.BColor());
}

void SettingsViewer::showFirstRecord() {
    fileStep([this] {
        viewedFile_.seek(0);
        readAndShow(1);
    });
}

void SettingsViewer::showLastRecord() {
    fileStep([this] {
        // The live size: records appended by others since opening are reachable here.
        const std::int64_t s = viewedFile_.size();
        if (s - 1 < 0) return;
        viewedFile_.seek(s - 1);
        readAndShow(s);
    });
}

void SettingsViewer::showNextRecord() {
    fileStep([this] {
        if (viewedFile_.atEnd()) return;
        const std::int64_t p = viewedFile_.position();
        if (p > viewedRecordCount_ - 1) return;
        readAndShow(p + 1);
    });
}

void SettingsViewer::showPreviousRecord() {
    fileStep([this] {
        const std::int64_t p = viewedFile_.position();
        if (p - 2 < 0) return;
        viewedFile_.seek(p - 2);
        readAndShow(p - 1);
    });
}

bool SettingsViewer::makeFileRecordCurrent(const QString& name, std::int64_t n) {
    TStateFile file;
    file.assign(QFile::encodeName(name).toStdString());
    TState rec;
    try {
        file.openForReading();
        // A record past the end is read as the file layer reads any short record: "Read beyond end of file".
        if (n < 1 || n > file.size()) throw EInOutError(IoCode::ReadBeyondEnd);
        file.seek(n - 1);
        file.read(rec);
        file.closeQuietly();
    } catch (const std::exception& e) {
        file.closeQuietly();
        ReportError(dialogs_, parentWidget(), e);
        return false;
    }
    if (rec.Action() == 1) {
        //: tulvane FILE.TV0 --record N, for a record marked for deletion: %1 is N, %2 the file.
        dialogs_.showMessage(parentWidget(),
                             tr("Record %1 of %2 is marked for deletion.").arg(qText(IntegerText(n)), name));
        return false;
    }
    records_.setCurSettings(rec);
    return true;
}

void SettingsViewer::makeRecordCurrent() {
    records_.setCurSettings(viewedRecord_);
    dialogs_.showMessage(this, tr("The saved state settings are now current."));
}

void SettingsViewer::markForDeletion() {
    writeMark(1, deleteMarkText());
}

void SettingsViewer::unmarkForDeletion() {
    if (viewedRecord_.Action() != 1) return;
    writeMark(0, noMarkText());
}

void SettingsViewer::writeMark(std::int32_t action, const QString& text) {
    const std::int32_t was = viewedRecord_.Action();
    const QString wasText = ComList->item(2)->text();
    viewedRecord_.setAction(action);
    setRow(ComList, 2, text);
    fileStep(
        [this, action] {
            rewriteShownRecord();
            if (action == 1) viewedFileModified_ = true;
        },
        [this, was, wasText] {
            viewedRecord_.setAction(was);
            setRow(ComList, 2, wasText);
        });
}

void SettingsViewer::finish() {
    if (viewedFileModified_) {
        try {
            OtherCopyWait wait(dialogs_, this, viewedFileName_);
            compactIfUnchanged(viewedFile_, viewedFileIdentity_, &wait);
        } catch (const LockWaitCancelled&) {
            // The user may press Finished again, or close the viewer and leave the marks for later.
            dialogs_.showMessage(this, nothingChangedText(viewedFileName_));
            return;
        } catch (const FileChangedError&) {
            leaveChangedFile();
            return;
        } catch (const std::exception& e) {
            ReportError(dialogs_, this, e);
        }
    }
    viewedFile_.closeQuietly();
    done(QDialog::Accepted);
}

void SettingsViewer::done(int) {
    closeViewedFile();
    QDialog::done(QDialog::Accepted);
}

void SettingsViewer::closeViewedFile() {
    viewedFile_.closeQuietly();
}

void SettingsViewer::showModally() {
    if (whileShown) QTimer::singleShot(0, this, whileShown);
    exec();
}

void SettingsViewer::setCountLabel(std::int64_t n) {
    CountLabel->setText(countText(n, viewedRecordCount_));
}

QString SettingsViewer::countText(std::int64_t n, std::int64_t count) {
    //: The shown record's place in the file: "Record 2 of 7".
    return tr("Record %1 of %2").arg(qText(IntegerText(n)), qText(IntegerText(count)));
}

void SettingsViewer::readAndShow(std::int64_t n) {
    TState rec;
    viewedFile_.read(rec);
    viewedRecord_ = rec;
    showRecord(viewedRecord_);
    setCountLabel(n);
}

void SettingsViewer::fileStep(const std::function<void()>& step, const std::function<void()>& cancelled) {
    try {
        step();
    } catch (const LockWaitCancelled&) {
        if (cancelled) cancelled();
        dialogs_.showMessage(this, nothingChangedText(viewedFileName_));
    } catch (const FileChangedError&) {
        leaveChangedFile();
    } catch (const std::exception& e) {
        ReportError(dialogs_, this, e);
        viewedFile_.closeQuietly();
    }
}

void SettingsViewer::rewriteShownRecord() {
    OtherCopyWait wait(dialogs_, this, viewedFileName_);
    rewriteRecordIfUnchanged(viewedFile_, viewedFile_.position() - 1, viewedRecord_, viewedFileIdentity_,
                             &wait);
}

void SettingsViewer::leaveChangedFile() {
    viewedFile_.closeQuietly();
    dialogs_.showMessage(this, changedFileText(viewedFileName_));
    done(QDialog::Accepted);
}

void SettingsViewer::setRow(QListWidget* list, int row, const QString& text) {
    QListWidgetItem* item = list->item(row);
    item->setText(text);
    // A long label or path is cut at the list's edge; the hint shows it whole.
    item->setToolTip(text);
    const QListWidget* captions = list == ComList ? ComLabels : BodyLabels;
    const QString caption = captions->item(row)->text();
    QString spoken;
    if (list == AList)
        //: What a screen reader says for a value of Body A: its row's caption ("Mass (kg)"), then the value.
        spoken = tr("Body A %1: %2").arg(caption, text);
    else if (list == BList)
        //: What a screen reader says for a value of Body B: its row's caption ("Mass (kg)"), then the value.
        spoken = tr("Body B %1: %2").arg(caption, text);
    else
        //: What a screen reader says for a value both bodies share: its row's caption, then the value.
        spoken = tr("%1: %2", "caption: value").arg(caption, text);
    item->setData(Qt::AccessibleTextRole, spoken);
}

QString SettingsViewer::noMarkText() const {
    //: The Action row of a record not marked for deletion.
    return tr("None", "deletion mark");
}

QString SettingsViewer::deleteMarkText() const {
    //: The Action row of a record marked for deletion.
    return tr("Delete", "deletion mark");
}

QString SettingsViewer::colorCode(TColor c) const {
    return QString::asprintf("%08X", static_cast<unsigned>(static_cast<std::uint32_t>(c)));
}

QString SettingsViewer::general(Extended x) const {
    return qText(GeneralText(x, decimalSeparator_));
}
