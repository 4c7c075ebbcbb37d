#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "design_font.h"
#include "error_report.h"
#include "form1.h"
#include "form2.h"
#include "module_state.h"

// A shown parameter window over a fresh state, whose failures are recorded
// instead of shown. Form2 windows left open by a test are closed with it.
class Form1Test : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        wienbridge::installDesignFontSubstitutes();
        // The offscreen platform cannot raise a window and says so at every run.
        static const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
                if (message != QLatin1String("This plugin does not support raise()"))
                    previous(type, context, message);
            });
    }

    void SetUp() override
    {
        form = std::make_unique<wienbridge::Form1>(state, errors);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    void TearDown() override
    {
        form.reset();
        QLocale::setDefault(QLocale::c());
    }

    template <class Widget = QWidget>
    Widget* control(const char* name) const
    {
        auto* widget = form->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QLineEdit* text(const char* name) const { return control<QLineEdit>(name); }
    QRadioButton* option(const char* name) const { return control<QRadioButton>(name); }

    void setText(const char* name, const QString& value) const { text(name)->setText(value); }

    void pressRun() const { QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton); }

    wienbridge::ModuleState state;
    wienbridge::RecordingErrorReport errors;
    std::unique_ptr<wienbridge::Form1> form;
};
