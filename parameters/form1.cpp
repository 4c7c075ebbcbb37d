#include "form1.h"

#include <QEvent>
#include <QPalette>
#include <limits>
#include <string>

#include "busy_cursor.h"
#include "colours.h"
#include "design_font.h"
#include "error_report.h"
#include "form2.h"
#include "run_sequence.h"
#include "ui_form1.h"

namespace wienbridge {

Form1::Form1(ModuleState& state, QWidget* parent)
    : Form1(state, static_cast<ErrorReport*>(nullptr), parent)
{
    ownReport_ = std::make_unique<MessageBoxErrorReport>(this);
    errors_ = ownReport_.get();
}

Form1::Form1(ModuleState& state, ErrorReport& errors, QWidget* parent)
    : Form1(state, &errors, parent)
{
}

Form1::Form1(ModuleState& state, ErrorReport* errors, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::Form1>()), state_(state), errors_(errors)
{
    ui_->setupUi(this);
    setFont(designFont());
    ui_->Text1->setFocus();
    // The boxes take text of any length; Qt's default would cut it at 32767 characters.
    for (QLineEdit* box : {ui_->Text1, ui_->Text2, ui_->Text3, ui_->Text4})
        box->setMaxLength(std::numeric_limits<int>::max());

    connect(ui_->Command1, &QPushButton::clicked, this, &Form1::runClicked);
    // A preset acts on any mouse button going down on its option button, and
    // only then: choosing an option from the keyboard leaves the ratio box alone.
    for (QWidget* option : {ui_->Option1, ui_->Option2, ui_->Option3, ui_->Option4})
        option->installEventFilter(this);
}

Form1::~Form1()
{
    delete form2_;
}

Form2* Form1::form2() const
{
    return form2_;
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == ui_->Option1)
            presetPressed(RatioPreset::Typed);
        else if (watched == ui_->Option2)
            presetPressed(RatioPreset::Two);
        else if (watched == ui_->Option3)
            presetPressed(RatioPreset::Three);
        else if (watched == ui_->Option4)
            presetPressed(RatioPreset::One);
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::presetPressed(RatioPreset preset)
{
    runReportingErrors(*errors_, [&] {
        const RatioTextColour colour = applyRatioPreset(state_, preset, ui_->Text4->text().toStdString());
        ui_->Text4->setText(QString::fromStdString(state_.RatioText));
        QPalette palette = ui_->Text4->palette();
        palette.setColor(QPalette::Text, colour == RatioTextColour::Black ? colours::black() : colours::blue());
        ui_->Text4->setPalette(palette);
    });
}

Form2& Form1::loadForm2()
{
    // Loaded unseen; the run shows it. The user may close it at any time,
    // which deletes it and clears the pointer.
    if (!form2_)
        form2_ = new Form2(state_, *errors_);
    return *form2_;
}

void Form1::runClicked()
{
    runReportingErrors(*errors_, [this] {
        const BusyCursor busy;
        Form2& form2 = loadForm2();
        form2.wipePlot();
        readRatio(state_, ui_->Text4->text().toStdString());

        const std::string timeConstant = ui_->Text1->text().toStdString();
        const std::string sampleCount = ui_->Text2->text().toStdString();
        const std::string crossover = ui_->Text3->text().toStdString();
        runSequence(state_, {timeConstant, sampleCount, crossover}, form2);
    });
}

}  // namespace wienbridge
