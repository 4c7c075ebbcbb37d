#include "error_report.h"

#include <QMessageBox>
#include <QString>

namespace wienbridge {

void MessageBoxErrorReport::report(const FailureMessage& failure)
{
    QMessageBox::critical(parent_, QStringLiteral("Ponte di Wien"), QString::fromStdString(failure.text()));
}

}  // namespace wienbridge
