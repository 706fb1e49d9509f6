#include "phonomir/CalibrationDialog.h"

#include "phonomir/ResponseFile.h"
#include "phonomir/ResponseReduction.h"
#include "phonomir/StringTable.h"
#include "phonomir/TextControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace phonomir {

namespace {

constexpr int kPointsTooMany = CalibrationPoints::kMostPoints;

QString text(int id) { return QString::fromStdString(loadString(id)); }

// The number a text field holds, in the C convention; 0 when it holds none.
double numberOf(const QLineEdit& edit) { return std::strtod(edit.text().toLatin1().constData(), nullptr); }

std::string formatted(int id, const std::string& first, const std::string& second) {
    char message[1024];
    std::snprintf(message, sizeof message, loadString(id).c_str(), first.c_str(), second.c_str());
    return message;
}

QTreeWidget* makeList(QWidget* parent, const QStringList& headers, const std::vector<int>& widths) {
    auto* list = new QTreeWidget(parent);
    list->setRootIsDecorated(false);
    list->setHeaderLabels(headers);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    for (std::size_t i = 0; i < widths.size(); ++i) list->setColumnWidth(static_cast<int>(i), widths[i]);
    return list;
}

}  // namespace

CalibrationDialog::CalibrationDialog(CalibrationContext context, int currentId, QWidget* parent)
    : QDialog(parent), context_(std::move(context)), store_(context_.connection, context_.messages),
      displayCurve_(4096) {
    setWindowTitle(QStringLiteral("Calibration"));
    buildControls();
    for (double frequency : {10.0, 100.0, 1000.0, 10000.0}) points_.set(frequency, 0.0);
    showPoints();
    fillRecordList(currentId);
    offset_->setValue(static_cast<int>(std::lround(offsetDb_ * 10)));
    editingPart_->hide();
    newButton_->hide();
    overwrite_->hide();
    deleteRecord_->hide();
    adjustSize();
}

CalibrationDialog::~CalibrationDialog() { closeStreams(); }

void CalibrationDialog::buildControls() {
    records_ = makeList(this, {QStringLiteral("Microphone Info."), QStringLiteral("Microphone Amp. Info."),
                               QStringLiteral("Comment")}, {150, 150, 150});
    records_->setObjectName(QStringLiteral("Calibration Data list"));
    records_->setMinimumSize(470, 140);
    records_->header()->setSectionsClickable(true);
    connect(records_->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        sortOrder_ = column == sortColumn_ && sortOrder_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
        sortColumn_ = column;
        records_->sortItems(column, sortOrder_);
    });
    connect(records_, &QTreeWidget::itemSelectionChanged, this, &CalibrationDialog::loadSelectedRecord);
    connect(records_, &QTreeWidget::itemDoubleClicked, this, &CalibrationDialog::acceptSelection);

    const auto button = [this](const QString& caption, void (CalibrationDialog::*slot)()) {
        auto* made = new QPushButton(caption, this);
        connect(made, &QPushButton::clicked, this, slot);
        return made;
    };
    QPushButton* ok = button(QStringLiteral("OK"), &CalibrationDialog::acceptSelection);
    ok->setDefault(true);
    QPushButton* releaseButton = button(QStringLiteral("&Release"), &CalibrationDialog::release);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    newButton_ = button(QStringLiteral("&New"), &CalibrationDialog::newRecord);
    overwrite_ = button(QStringLiteral("Over&write"), &CalibrationDialog::overwriteRecord);
    deleteRecord_ = button(QStringLiteral("&Delete"), &CalibrationDialog::deleteRecord);
    edit_ = button(QStringLiteral("&Edit"), &CalibrationDialog::openEditing);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* each : {ok, releaseButton, cancel, newButton_, overwrite_, deleteRecord_, edit_}) {
        buttons->addWidget(each);
    }
    buttons->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(records_, 1);
    top->addLayout(buttons);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    editingPart_ = buildEditingPart();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(line);
    layout->addWidget(editingPart_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* CalibrationDialog::buildEditingPart() {
    auto* part = new QWidget(this);
    graph_ = new FrequencyResponseGraph(part);
    graph_->setFixedSize(420, 220);
    graph_->setEnabled(false);
    pointList_ = makeList(part, {QStringLiteral("Frequency"), QStringLiteral("Level")}, {55, 55});
    pointList_->setFixedWidth(140);
    connect(pointList_, &QTreeWidget::itemSelectionChanged, this, [this] {
        const QList<QTreeWidgetItem*> chosen = pointList_->selectedItems();
        if (chosen.isEmpty()) return;
        setText(*frequency_, chosen.front()->text(0));
        setText(*level_, chosen.front()->text(1));
    });
    frequency_ = new QLineEdit(part);
    level_ = new QLineEdit(part);
    micInfo_ = new QLineEdit(part);
    micAmpInfo_ = new QLineEdit(part);
    comment_ = new QLineEdit(part);
    micInfo_->setMaxLength(30);
    micAmpInfo_->setMaxLength(30);
    comment_->setMaxLength(100);
    for (QLineEdit* edit : {micInfo_, micAmpInfo_}) {
        connect(edit, &QLineEdit::textEdited, this, [this] { changed_ = true; });
    }
    auto* set = new QPushButton(QStringLiteral("&Set"), part);
    auto* remove = new QPushButton(QStringLiteral("D&elete"), part);
    connect(set, &QPushButton::clicked, this, &CalibrationDialog::setPoint);
    connect(remove, &QPushButton::clicked, this, &CalibrationDialog::deletePoint);
    auto* importButton = new QPushButton(QStringLiteral("&Import..."), part);
    auto* exportButton = new QPushButton(QStringLiteral("E&xport..."), part);
    connect(importButton, &QPushButton::clicked, this, &CalibrationDialog::importResponse);
    connect(exportButton, &QPushButton::clicked, this, &CalibrationDialog::exportResponse);

    inputLevel_ = new QLineEdit(part);
    inputLevel_->setReadOnly(true);
    inputLevel_->setAlignment(Qt::AlignRight);
    QFont large(QString::fromStdString(loadString(StringId::GraphFont)));
    large.setPointSize(context_.languageCode == 2 ? 14 : 16);
    inputLevel_->setFont(large);
    weighting_ = new QComboBox(part);
    for (int id : {StringId::FlatWeighting, StringId::AWeighting, StringId::AWeighting + 1, StringId::AWeighting + 2}) {
        weighting_->addItem(text(id));
    }
    connect(weighting_, &QComboBox::currentIndexChanged, this, &CalibrationDialog::updateCurves);
    testSignal_ = new QCheckBox(QStringLiteral("Test Signal"), part);
    connect(testSignal_, &QCheckBox::toggled, this, &CalibrationDialog::toggleTestSignal);
    offset_ = new QScrollBar(Qt::Horizontal, part);
    offset_->setRange(600, 1400);
    offset_->setSingleStep(1);
    offset_->setPageStep(10);
    connect(offset_, &QScrollBar::valueChanged, this, &CalibrationDialog::offsetMoved);

    auto* grid = new QGridLayout(part);
    grid->addWidget(graph_, 0, 0, 6, 1);
    grid->addWidget(pointList_, 0, 1, 4, 2);
    grid->addWidget(new QLabel(QStringLiteral("Frequency [Hz]"), part), 4, 1);
    grid->addWidget(frequency_, 4, 2);
    grid->addWidget(new QLabel(QStringLiteral("Level [dB]"), part), 5, 1);
    grid->addWidget(level_, 5, 2);
    grid->addWidget(set, 6, 1);
    grid->addWidget(remove, 6, 2);
    grid->addWidget(importButton, 7, 1);
    grid->addWidget(exportButton, 7, 2);
    grid->addWidget(new QLabel(QStringLiteral("Microphone Info."), part), 8, 0);
    grid->addWidget(micInfo_, 9, 0);
    grid->addWidget(new QLabel(QStringLiteral("Mic Amp. Info."), part), 10, 0);
    grid->addWidget(micAmpInfo_, 11, 0);
    grid->addWidget(new QLabel(QStringLiteral("Comment"), part), 12, 0);
    grid->addWidget(comment_, 13, 0);
    grid->addWidget(new QLabel(QStringLiteral("Input Level [dB]"), part), 8, 1, 1, 2);
    grid->addWidget(inputLevel_, 9, 1, 1, 2);
    grid->addWidget(weighting_, 10, 1, 1, 2);
    grid->addWidget(testSignal_, 11, 1, 1, 2);
    grid->addWidget(offset_, 12, 1, 1, 2);
    return part;
}

QWidget* CalibrationDialog::control(int id) const {
    switch (id) {
    case kRecordList: return records_;
    case kGraph: return graph_;
    case kPointList: return pointList_;
    case kFrequency: return frequency_;
    case kLevel: return level_;
    case kMicInfo: return micInfo_;
    case kMicAmpInfo: return micAmpInfo_;
    case kComment: return comment_;
    case kInputLevel: return inputLevel_;
    case kWeighting: return weighting_;
    case kTestSignal: return testSignal_;
    case kOffset: return offset_;
    case kNew: return newButton_;
    case kOverwrite: return overwrite_;
    case kDeleteRecord: return deleteRecord_;
    case kEdit: return edit_;
    default: break;
    }
    const QString captions[] = {QStringLiteral("&Set"), QStringLiteral("D&elete"), QStringLiteral("OK"),
                                QStringLiteral("&Release"), QStringLiteral("Cancel"), QStringLiteral("&Import..."),
                                QStringLiteral("E&xport...")};
    const int ids[] = {kSet, kDeletePoint, kOk, kRelease, kCancel, kImport, kExport};
    for (int i = 0; i < 7; ++i) {
        if (ids[i] != id) continue;
        for (QPushButton* each : findChildren<QPushButton*>()) {
            if (each->text() == captions[i]) return each;
        }
    }
    return nullptr;
}

void CalibrationDialog::fillRecordList(int selectId) {
    std::vector<MicCalSummary> summaries;
    if (!store_.list(summaries)) return;  // the store has said why; the list stays as it was
    QSignalBlocker quiet(records_);
    records_->clear();
    QTreeWidgetItem* chosen = nullptr;
    for (const MicCalSummary& summary : summaries) {
        auto* row = new QTreeWidgetItem(records_, {QString::fromStdString(summary.micInfo),
                                                   QString::fromStdString(summary.micAmpInfo),
                                                   QString::fromStdString(summary.comment)});
        row->setData(0, Qt::UserRole, summary.id);
        if (summary.id == selectId) chosen = row;
    }
    if (sortColumn_ >= 0) records_->sortItems(sortColumn_, sortOrder_);
    quiet.unblock();
    if (chosen) chosen->setSelected(true);
}

std::optional<std::int32_t> CalibrationDialog::selectedId() const {
    const QList<QTreeWidgetItem*> chosen = records_->selectedItems();
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.front()->data(0, Qt::UserRole).toInt();
}

void CalibrationDialog::loadSelectedRecord() {
    const auto id = selectedId();
    if (!id) return;
    const std::optional<MicCalEdit> record = store_.read(*id);
    if (!record) return;
    loading_ = true;
    setText(*micInfo_, QString::fromStdString(record->micInfo));
    setText(*micAmpInfo_, QString::fromStdString(record->micAmpInfo));
    setText(*comment_, QString::fromStdString(record->comment));
    offsetDb_ = std::clamp(record->offsetDb, 60.0, 140.0);
    offset_->setValue(static_cast<int>(std::lround(offsetDb_ * 10)));
    points_.assign(record->points);
    showPoints();
    updateCurves();
    if (context_.selectInputSource) {
        context_.selectInputSource(record->inputSel, static_cast<std::uint32_t>(record->inputVol));
    }
    loading_ = false;
    changed_ = false;
}

void CalibrationDialog::showPoints() {
    QSignalBlocker quiet(pointList_);
    pointList_->clear();
    for (int row = 0; row < points_.size(); ++row) {
        new QTreeWidgetItem(pointList_, {QString::fromStdString(points_.frequencyLabel(row)),
                                         QString::fromStdString(CalibrationPoints::levelLabel(points_.points()[row].levelDb))});
    }
}

void CalibrationDialog::updateCurves() {
    const std::vector<ResponsePoint>& points = points_.points();
    meter_.setResponse(points, static_cast<WeightingKind>(std::clamp(weighting_->currentIndex(), 0, 3)));
    if (!expanded_) return;
    BuildResponseCurve(displayCurve_.data(), 4096, 44100, points.data(), static_cast<int>(points.size()), 10.0);
    graph_->plot(displayCurve_.data(), 4096, 44100, GraphAxes{20, 22050, -20, 20});
}

void CalibrationDialog::setPoint() {
    const std::string frequencyText = frequency_->text().trimmed().toStdString();
    const double frequency = numberOf(*frequency_);
    const double level = numberOf(*level_);
    if (!(frequency > 0)) {
        context_.messages.showMessage(loadString(StringId::FrequencyNotPositive), MessageIcon::Exclamation);
        return;
    }
    const int row = points_.rowFor(frequencyText);
    if (row >= 0) {
        points_.setLevel(row, level);
    } else if (points_.set(frequency, level) == CalibrationPoints::SetResult::Full) {
        char message[128];
        std::snprintf(message, sizeof message, loadString(StringId::TooManyPoints).c_str(), kPointsTooMany);
        context_.messages.showMessage(message, MessageIcon::Exclamation);
        return;
    }
    changed_ = true;
    showPoints();
    updateCurves();
}

void CalibrationDialog::deletePoint() {
    const int row = points_.rowFor(frequency_->text().trimmed().toStdString());
    if (row < 0) return;
    points_.removeRow(row);
    changed_ = true;
    showPoints();
    updateCurves();
}

MicCalEdit CalibrationDialog::editFromControls() const {
    MicCalEdit edit;
    edit.micInfo = micInfo_->text().toStdString();
    edit.micAmpInfo = micAmpInfo_->text().toStdString();
    edit.comment = comment_->text().toStdString();
    edit.offsetDb = offsetDb_;
    edit.points = points_.points();
    if (context_.getInputSource) {
        if (const auto source = context_.getInputSource()) {
            edit.inputSel = source->first;
            edit.inputVol = static_cast<std::int32_t>(source->second);
        }
    }
    return edit;
}

void CalibrationDialog::newRecord() {
    if (!context_.messages.askOkCancel(StringId::SaveNewCalibration, loadString(StringId::SaveNewCalibration))) return;
    const MicCalEdit edit = editFromControls();
    if (edit.micInfo.empty()) {
        context_.messages.showMessage(loadString(StringId::InputMicrophoneInfo), MessageIcon::Exclamation);
        return;
    }
    std::int32_t id = 0;
    if (!store_.append(edit, id)) return;
    changed_ = false;
    fillRecordList(id);
}

void CalibrationDialog::overwriteRecord() {
    const auto id = selectedId();
    if (!id) {
        context_.messages.showMessage(loadString(StringId::SelectCalibration), MessageIcon::Exclamation);
        return;
    }
    if (!context_.messages.askOkCancel(StringId::ChangeCalibration, loadString(StringId::ChangeCalibration))) return;
    if (!store_.overwrite(*id, editFromControls())) return;
    changed_ = false;
    fillRecordList(*id);
}

void CalibrationDialog::deleteRecord() {
    const auto id = selectedId();
    if (!id) {
        context_.messages.showMessage(loadString(StringId::SelectCalibration), MessageIcon::Exclamation);
        return;
    }
    if (!context_.messages.askOkCancel(StringId::DeleteCalibration, loadString(StringId::DeleteCalibration))) return;
    if (!store_.remove(*id)) return;
    changed_ = false;
    fillRecordList(-1);
    points_.clear();
    showPoints();
    updateCurves();
}

void CalibrationDialog::acceptSelection() {
    const auto id = selectedId();
    if (!id) {
        context_.messages.showMessage(loadString(StringId::SelectCalibration), MessageIcon::Exclamation);
        return;
    }
    if (changed_ && context_.messages.askOkCancel(StringId::DataChangedSave, loadString(StringId::DataChangedSave))) {
        if (!store_.overwrite(*id, editFromControls())) return;
    }
    chosenId_ = *id;
    accept();
}

void CalibrationDialog::release() {
    chosenId_ = -1;
    accept();
}

void CalibrationDialog::openEditing() {
    if (expanded_) return;
    expanded_ = true;
    edit_->hide();
    newButton_->show();
    overwrite_->show();
    deleteRecord_->show();
    editingPart_->show();
    adjustSize();
    graph_->setUp(80, Qt::red);
    graph_->setEnabled(true);
    updateCurves();
    const WaveStreamParameters stream{1, 44100, 16, 4, 32768};
    if (!context_.waveIn.openInput(context_.inputDeviceId, this, stream, true)) return;
    meter_.reset();
    context_.waveIn.startInput();
}

void CalibrationDialog::toggleTestSignal(bool on) {
    if (!on) {
        if (context_.waveOut.primaryClient() == this) context_.waveOut.closeOutput();
        return;
    }
    const WaveStreamParameters stream{1, 44100, 16, 4, 32768};
    if (!context_.waveOut.openOutput(context_.outputDeviceId, this, stream, false, true)) {
        context_.messages.showMessage(loadString(StringId::NeedInAndOut), MessageIcon::Exclamation);
        QSignalBlocker quiet(testSignal_);
        testSignal_->setChecked(false);
        return;
    }
    context_.waveOut.startOutput();
}

void CalibrationDialog::offsetMoved(int tenths) {
    offsetDb_ = tenths / 10.0;
    if (!loading_) changed_ = true;  // the offset is the calibration: a moved one is not dropped silently
}

long CalibrationDialog::waveNotify(WaveNotifyCode code, WaveBuffer* buffer) {
    switch (code) {
    case WAVE_IN_DATA:
        if (buffer && buffer->bufferLength >= CalibrationMeter::kBufferSamples * 2) {
            meter_.addBuffer(reinterpret_cast<const std::int16_t*>(buffer->data));
            setText(*inputLevel_, QString::fromStdString(CalibrationMeter::formatReading(meter_.reading(offsetDb_))));
        }
        return 1;
    case WAVE_OUT_FILL: {
        const int samples = static_cast<int>(buffer->capacity / 2);
        tone_.fill(reinterpret_cast<std::int16_t*>(buffer->data), samples);
        return samples * 2;
    }
    case WAVE_OUT_CLOSED: {
        QSignalBlocker quiet(testSignal_);
        testSignal_->setChecked(false);
        return 0;
    }
    default: return 0;
    }
}

void CalibrationDialog::importResponse() {
    const QString path = context_.chooseFile ? context_.chooseFile(QStringLiteral("Import Response File"), false) : QString();
    if (path.isEmpty()) return;
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) bytes = file.read(5 * 1024 * 1024);
    const auto parsed = file.isOpen() ? parseResponseFile(std::string_view(bytes.constData(), bytes.size()))
                                      : std::variant<ResponseFile, std::string>(file.errorString().toStdString());
    if (const auto* refusal = std::get_if<std::string>(&parsed)) {
        context_.messages.showMessage(formatted(StringId::CantImportFile, path.toStdString(), *refusal),
                                      MessageIcon::Exclamation);
        return;
    }
    const ResponseFile& response = std::get<ResponseFile>(parsed);
    const ReducedResponse reduced = reduceResponse(response.points, kPointsTooMany);
    char summary[512];
    std::snprintf(summary, sizeof summary, "%zu points read, %zu kept (largest deviation %.2f dB).",
                  response.points.size(), reduced.points.size(), reduced.maxDeviationDb);
    std::string question = summary;
    if (response.sensitivityDb) {
        std::snprintf(summary, sizeof summary, "\nSensitivity in the file: %.2f dB.", *response.sensitivityDb);
        question += summary;
    }
    if (!response.unreadableLines.empty()) {
        question += "\nLines that could not be read:";
        for (std::size_t i = 0; i < response.unreadableLines.size() && i < 20; ++i) {
            question += ' ';
            question += std::to_string(response.unreadableLines[i]);
        }
        if (response.unreadableLines.size() > 20) question += " ...";
    }
    question += "\nUse these points?";
    if (!context_.messages.askOkCancel(StringId::CantImportFile, question)) return;
    points_.assign(reduced.points);
    changed_ = true;
    showPoints();
    updateCurves();
}

void CalibrationDialog::exportResponse() {
    const QString path = context_.chooseFile ? context_.chooseFile(QStringLiteral("Export Response File"), true) : QString();
    if (path.isEmpty()) return;
    const std::string body = formatResponseFile(points_.points(), std::nullopt,
                                                {micInfo_->text().toStdString(), micAmpInfo_->text().toStdString(),
                                                 comment_->text().toStdString()});
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(body.data(), static_cast<qint64>(body.size())) == static_cast<qint64>(body.size()) &&
                         file.commit();
    if (!written) {
        context_.messages.showMessage(formatted(StringId::CantWriteFile, path.toStdString(), file.errorString().toStdString()),
                                      MessageIcon::Exclamation);
    }
}

void CalibrationDialog::closeStreams() {
    if (context_.waveOut.primaryClient() == this) context_.waveOut.closeOutput();
    if (context_.waveIn.primaryClient() == this) context_.waveIn.closeInput();
}

void CalibrationDialog::done(int result) {
    closeStreams();
    QDialog::done(result);
}

std::optional<int> runCalibrationDialog(CalibrationContext context, int currentId, QWidget* parent) {
    if (!context.chooseFile) {
        context.chooseFile = [parent](const QString& caption, bool save) {
            const QString filter = QStringLiteral("Response files (*.txt *.frd *.cal *.csv);;All files (*)");
            return save ? QFileDialog::getSaveFileName(parent, caption, QString(), filter)
                        : QFileDialog::getOpenFileName(parent, caption, QString(), filter);
        };
    }
    CalibrationDialog dialog(std::move(context), currentId, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.chosenId();
}

}  // namespace phonomir
