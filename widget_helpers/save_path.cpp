#include "widget_helpers/save_path.h"

#include <QFileDialog>
#include <QFileInfo>

namespace wienbridge {

QString askSavePath(QWidget* parent, const QString& title, const QString& suggested, const QString& filter)
{
    QString path = QFileDialog::getSaveFileName(parent, title, suggested, filter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += u'.' + QFileInfo(suggested).suffix();
    return path;
}

}  // namespace wienbridge
