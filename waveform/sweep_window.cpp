#include "waveform/sweep_window.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>

#include "messages/results_text.h"
#include "messages/sweep_table.h"
#include "run/sweep_run.h"
#include "run/whole_file.h"
#include "ui_sweep_window.h"
#include "widget_helpers/error_report.h"
#include "widget_helpers/locale_format.h"
#include "widget_helpers/save_path.h"

namespace wienbridge {
namespace {

// Where a sweep of each input starts and ends until other ends are typed, in
// the combo's order: f0 from 10 kHz to 100 Hz, N from a coarse step to a fine
// one, fc down to where K falls to 0, R1/R2 across K = 2, 3 and 4.
constexpr const char* kDefaultEnds[][2] = {{"15.915", "1591.5"}, {"10", "1000"}, {"3", "0.0005"}, {"1", "3"}};

QString text(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

SweepWindow::SweepWindow(ErrorReport& errors, QWidget* parent)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::SweepWindow>()), errors_(errors)
{
    ui->setupUi(this);
    // Closed with the waveform window that owns it; it never keeps the program going.
    setAttribute(Qt::WA_QuitOnClose, false);
    connect(ui->input, &QComboBox::currentIndexChanged, this, &SweepWindow::inputChosen);
    connect(ui->calculate, &QPushButton::clicked, this, &SweepWindow::calculate);
    connect(ui->cancel, &QPushButton::clicked, &sweep_, &BackgroundSweep::cancel);
    connect(ui->exportTable, &QPushButton::clicked, this, &SweepWindow::exportTable);
    connect(&sweep_, &BackgroundSweep::pointsArrived, this, &SweepWindow::takePoints);
    connect(&sweep_, &BackgroundSweep::ended, this, &SweepWindow::sweepEnded);
    auto* copy = new QAction(QStringLiteral("Copia"), ui->table);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, &SweepWindow::copySelection);
    ui->table->addAction(copy);
    ui->table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    ui->input->setCurrentIndex(static_cast<int>(SweptInput::Crossover));
}

SweepWindow::~SweepWindow() = default;

void SweepWindow::setBaseRun(const FinishedRun& run)
{
    others_ = run.texts;
    othersRead_.clear();
    for (const ResultsRow& input : resultsText(&run, userDecimalSeparator()).inputs)
        othersRead_.push_back(input.label + " = " + input.values.front());
    showOthers();
}

void SweepWindow::inputChosen(int input)
{
    ui->from->setText(QString::fromLatin1(kDefaultEnds[input][0]));
    ui->to->setText(QString::fromLatin1(kDefaultEnds[input][1]));
    ui->spacing->setCurrentIndex(defaultSpacing(SweptInput(input)) == Spacing::Geometric ? 0 : 1);
    showOthers();
}

void SweepWindow::showOthers()
{
    QStringList shown;
    for (std::size_t i = 0; i < othersRead_.size(); ++i)
        if (static_cast<int>(i) != ui->input->currentIndex())
            shown << text(othersRead_[i]);
    ui->others->setText(QStringLiteral("Gli altri valori, dall'ultimo grafico: ")
                        + shown.join(QStringLiteral("; ")));
}

void SweepWindow::calculate()
{
    if (sweep_.isRunning())
        return;
    const std::optional<double> from = readSweepEnd(ui->from->text().toStdString());
    const std::optional<double> to = readSweepEnd(ui->to->text().toStdString());
    if (!from || !to) {
        ui->status->setText(QStringLiteral("Scrivi in «Da» e in «A» un numero ciascuno."));
        return;
    }
    const SweepRange range{SweptInput(ui->input->currentIndex()), *from, *to, ui->count->value(),
                           ui->spacing->currentIndex() == 0 ? Spacing::Geometric : Spacing::Linear};
    if (const std::optional<RangeProblem> problem = rangeProblem(range)) {
        const QString why = text(rangeProblemText(*problem));
        ui->status->setText(why.left(1).toUpper() + why.mid(1) + u'.');
        return;
    }
    range_ = range;
    points_.clear();
    QStringList headings;
    for (const std::string& heading : sweepTableHeadings(range.input))
        headings << text(heading);
    ui->table->clear();
    ui->table->setRowCount(0);
    ui->table->setColumnCount(static_cast<int>(headings.size()));
    ui->table->setHorizontalHeaderLabels(headings);
    ui->plot->begin(range);
    ui->progress->setRange(0, range.count);
    ui->progress->setValue(0);
    ui->status->setText(QStringLiteral("Calcolo in corso…"));
    setRunning(true);
    sweep_.start(others_, range, everyCore());
}

void SweepWindow::takePoints()
{
    const std::vector<SweepPoint> arrived = sweep_.takePoints();
    if (arrived.empty())
        return;
    const std::string separator = userDecimalSeparator();
    for (const SweepPoint& point : arrived) {
        const int row = ui->table->rowCount();
        ui->table->insertRow(row);
        const std::vector<std::string> cells = sweepTableCells(point, separator);
        for (std::size_t column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(text(cells[column]));
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            if (column + 1 < cells.size())
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            ui->table->setItem(row, static_cast<int>(column), item);
        }
        points_.push_back(point);
    }
    if (ui->table->rowCount() == static_cast<int>(arrived.size()))
        ui->table->resizeColumnsToContents();  // wide enough for most rows, measured once
    ui->plot->addPoints(arrived);
    ui->progress->setValue(static_cast<int>(points_.size()));
}

void SweepWindow::sweepEnded(bool complete)
{
    setRunning(false);
    ui->table->resizeColumnsToContents();
    const auto failed =
        std::count_if(points_.begin(), points_.end(), [](const SweepPoint& p) { return !p.values; });
    QString said =
        complete
            ? QStringLiteral("Calcolati %1 punti").arg(points_.size())
            : QStringLiteral("Annullato: calcolati %1 punti di %2").arg(points_.size()).arg(range_.count);
    if (failed > 0)
        said += QStringLiteral(", %1 non riusciti (vedi la colonna Errore)").arg(failed);
    ui->status->setText(said + u'.');
    ui->exportTable->setEnabled(complete);
}

void SweepWindow::setRunning(bool running)
{
    ui->calculate->setEnabled(!running);
    ui->cancel->setEnabled(running);
    ui->exportTable->setEnabled(false);
}

void SweepWindow::closeEvent(QCloseEvent* event)
{
    sweep_.cancel();
    QWidget::closeEvent(event);
}

void SweepWindow::exportTable()
{
    const QString path = askSavePath(this, QStringLiteral("Esporta tabella"), QStringLiteral("andamento.csv"),
                                     QStringLiteral("File CSV (*.csv)"));
    if (path.isEmpty())
        return;
    std::string csv = sweepCsvHeader(sweptOptionName(range_.input));
    for (const SweepPoint& point : points_)
        csv += sweepCsvLine(point);
    if (!writeWholeFile(path, [&](QIODevice& file) {
            return file.write(csv.data(), static_cast<qint64>(csv.size())) == static_cast<qint64>(csv.size());
        }))
        errors_.report(samplesNotExported(path.toStdString()), this);
}

void SweepWindow::copySelection()
{
    QModelIndexList cells = ui->table->selectionModel()->selectedIndexes();
    std::sort(cells.begin(), cells.end());
    QString copied;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            copied += cells[i].row() == cells[i - 1].row() ? u'\t' : u'\n';
        copied += cells[i].data().toString();
    }
    QGuiApplication::clipboard()->setText(copied);
}

}  // namespace wienbridge
