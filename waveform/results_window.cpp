#include "waveform/results_window.h"

#include <QLabel>

#include "messages/results_text.h"
#include "ui_results_window.h"
#include "widget_helpers/locale_format.h"

namespace wienbridge {
namespace {

QString text(const std::string& s)
{
    return QString::fromStdString(s);
}

QLabel* label(QWidget* parent, const QString& text, bool bold = false)
{
    auto* l = new QLabel(text, parent);
    if (bold) {
        QFont font = l->font();
        font.setBold(true);
        l->setFont(font);
    }
    return l;
}

}  // namespace

ResultsWindow::ResultsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::ResultsWindow>())
{
    ui->setupUi(this);
    // Closed with the waveform window that owns it; it never keeps the program going.
    setAttribute(Qt::WA_QuitOnClose, false);
    QPalette warning = ui->warnings->palette();
    warning.setColor(QPalette::WindowText, QColor(160, 0, 0));
    ui->warnings->setPalette(warning);
    showRun(nullptr);
}

ResultsWindow::~ResultsWindow() = default;

void ResultsWindow::showRun(const FinishedRun* run)
{
    const ResultsText r = resultsText(run, userDecimalSeparator());
    if (values_.empty()) {
        // The rows are the same for every run: laid out once, their values rewritten.
        int line = 0;
        for (const ResultsRow& input : r.inputs) {
            ui->grid->addWidget(label(this, text(input.label)), line, 0);
            values_.push_back(label(this, {}));
            ui->grid->addWidget(values_.back(), line++, 1);
        }
        ui->grid->setRowMinimumHeight(line++, fontMetrics().height() / 2);
        for (std::size_t column = 0; column < r.headings.size(); ++column)
            ui->grid->addWidget(label(this, text(r.headings[column]), true), line,
                                static_cast<int>(column) + 1);
        ++line;
        for (const ResultsRow& row : r.rows) {
            ui->grid->addWidget(label(this, text(row.label)), line, 0);
            for (std::size_t column = 0; column < r.headings.size(); ++column) {
                values_.push_back(label(this, {}));
                ui->grid->addWidget(values_.back(), line, static_cast<int>(column) + 1);
            }
            ++line;
        }
        for (QLabel* value : values_)
            value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    auto value = values_.begin();
    for (const ResultsRow& input : r.inputs) {
        QLabel* shown = *value++;
        shown->setText(text(input.values.front()));
        shown->setAccessibleName(text(input.label) + QStringLiteral(": ") + shown->text());
    }
    for (const ResultsRow& row : r.rows) {
        for (std::size_t column = 0; column < r.headings.size(); ++column) {
            QLabel* shown = *value++;
            shown->setText(column < row.values.size() ? text(row.values[column]) : QString());
            shown->setAccessibleName(text(row.label) + QStringLiteral(", ") + text(r.headings[column])
                                     + QStringLiteral(": ") + shown->text());
        }
    }
    ui->modelNote->setText(text(r.modelNote));
    QStringList warnings;
    for (const std::string& warning : r.warnings)
        warnings << text(warning);
    ui->warnings->setText(warnings.join(u'\n'));
    ui->warnings->setVisible(!warnings.isEmpty());
}

}  // namespace wienbridge
