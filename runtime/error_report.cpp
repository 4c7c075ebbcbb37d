#include "error_report.h"

#include <QMessageBox>
#include <QString>

namespace wienbridge {

void MessageBoxErrorReport::report(const RuntimeError& error)
{
    QMessageBox::critical(parent_, QStringLiteral("Ponte di Wien"), QString::fromStdString(error.fullText()));
}

}  // namespace wienbridge
