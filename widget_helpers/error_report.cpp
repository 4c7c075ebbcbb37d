#include "widget_helpers/error_report.h"

#include <QMessageBox>
#include <QString>

namespace wienbridge {

void MessageBoxErrorReport::report(const FailureMessage& failure, QWidget* where)
{
    QMessageBox::critical(where ? where : parent_, QStringLiteral("Ponte di Wien"),
                          QString::fromStdString(failure.text()));
}

}  // namespace wienbridge
