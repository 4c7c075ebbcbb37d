#pragma once

#include <memory>

#include <QWidget>

namespace wienbridge {

namespace Ui {
class HelpWindow;
}

// "Guida": the program's help, an Italian text with links between its
// sections, read from the program's resources only when first opened. One
// window serves the whole program; it closes with the window that first
// opened it and never keeps the program going.
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    // Opens the help at `section` (an anchor of the text, or the top for an
    // empty one), over `owner`'s window, or brings the one already open there.
    static HelpWindow* showSection(const QString& section, QWidget* owner);
    ~HelpWindow() override;

    // The section shown, as the anchor asked for.
    QString section() const;

private:
    explicit HelpWindow(QWidget* owner);

    std::unique_ptr<Ui::HelpWindow> ui;
    QString section_;
};

// "Informazioni su…": the program's name, version, licence and purpose, and Qt's version.
void showAbout(QWidget* parent);

}  // namespace wienbridge
