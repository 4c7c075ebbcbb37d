#include <QFontInfo>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>

#include "form1_fixture.h"

namespace {

struct Caption {
    const char* name;
    const char* text;
};

const Caption kLabels[] = {
    {"Label1", "CR"},
    {"Label2", "N"},
    {"Label3", "fc"},
    {"Label4", "MHz"},
    {"Label5", "Condizione di Barkausen o di oscillazione"},
    {"Label6", "Oscillazione smorzata, retroazione negativa maggiore di quella positiva"},
    {"Label7", "Oscillazione in aumento fino alla saturazione, retroazione positiva maggiore di quella negativa"},
    {"Label8", "[usec]"},
    {"Label9", "(frequenza di crossover del A.O.)"},
    {"Label10", "Numero campioni"},
};

const Caption kButtons[] = {
    {"Option1", "R1/R2"},
    {"Option2", "R1/R2=2"},
    {"Option3", "R1/R2=3"},
    {"Option4", "R1/R2=1"},
    {"Command1", "Grafico di Vo"},
};

}  // namespace

TEST_F(Form1Test, OpensWithTheDesignedValues)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Oscillatore a ponte di Wien, verifica"));
    EXPECT_EQ(form->size(), QSize(1056, 455));
    EXPECT_FALSE(form->windowIcon().isNull());
    EXPECT_TRUE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowMinimizeButtonHint);

    EXPECT_EQ(text("Text1")->text(), QStringLiteral("159.15"));
    EXPECT_EQ(text("Text2")->text(), QStringLiteral("100"));
    EXPECT_EQ(text("Text3")->text(), QStringLiteral("3"));
    EXPECT_EQ(text("Text4")->text(), QStringLiteral("2"));

    const QString longText(40000, u'7');
    text("Text2")->setText(longText);
    EXPECT_EQ(text("Text2")->text(), longText);
    text("Text2")->setText(QStringLiteral("100"));

    EXPECT_TRUE(option("Option1")->isChecked());
    for (const char* other : {"Option2", "Option3", "Option4"})
        EXPECT_FALSE(option(other)->isChecked()) << other;

    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(QApplication::focusWidget(), text("Text1"));
    EXPECT_EQ(form->form2(), nullptr);  // no waveform window before the first run

    auto* run = control<QPushButton>("Command1");
    EXPECT_FALSE(run->isDefault());
    EXPECT_FALSE(run->autoDefault());
}

TEST_F(Form1Test, CaptionsAndPlaces)
{
    for (const Caption& c : kLabels) {
        auto* label = control<QLabel>(c.name);
        EXPECT_EQ(label->text(), QString::fromUtf8(c.text)) << c.name;
        EXPECT_TRUE(label->wordWrap()) << c.name;
        EXPECT_EQ(label->alignment(), Qt::AlignLeft | Qt::AlignTop) << c.name;
    }
    for (const Caption& c : kButtons)
        EXPECT_EQ(control<QAbstractButton>(c.name)->text(), QString::fromUtf8(c.text)) << c.name;

    // A sample of the table, in pixels at 15 twips each.
    EXPECT_EQ(control("Text1")->geometry(), QRect(592, 40, 161, 25));
    EXPECT_EQ(control("Text4")->geometry(), QRect(592, 144, 161, 25));
    EXPECT_EQ(control("Option4")->geometry(), QRect(512, 176, 97, 33));
    EXPECT_EQ(control("Command1")->geometry(), QRect(600, 328, 121, 49));
    EXPECT_EQ(control("Label7")->geometry(), QRect(608, 264, 433, 33));
    EXPECT_EQ(control("Label9")->geometry(), QRect(800, 112, 217, 25));
    EXPECT_EQ(control("Image1")->geometry(), QRect(8, 8, 492, 425));

    // Enlarging the window moves nothing.
    form->resize(1400, 700);
    EXPECT_EQ(control("Command1")->geometry(), QRect(600, 328, 121, 49));
    EXPECT_EQ(control("Label7")->geometry(), QRect(608, 264, 433, 33));
}

TEST_F(Form1Test, TabOrderSkipsLabelsAndPicture)
{
    QStringList order;
    QWidget* widget = text("Text1");
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != text("Text1"));
    EXPECT_EQ(order, QStringList({"Text1", "Text2", "Command1", "Option1", "Option2", "Option3", "Text3", "Text4",
                                  "Option4"}));
}

TEST_F(Form1Test, EveryCaptionReadsWholeInTheDesignFont)
{
    QList<QWidget*> captioned;
    for (const Caption& c : kLabels)
        captioned << control(c.name);
    for (const Caption& c : kButtons)
        captioned << control(c.name);
    for (QWidget* widget : captioned) {
        const QFont font = widget->font();
        EXPECT_EQ(font.family(), QStringLiteral("MS Sans Serif")) << widget->objectName().toStdString();
        EXPECT_EQ(font.pointSizeF(), 8.25);
        EXPECT_TRUE(font.bold());
        EXPECT_FALSE(font.italic());
    }

    // Wrapped at word boundaries to the label's width, every line falls
    // inside the label: nothing is cut at its bottom edge.
    for (const Caption& c : kLabels) {
        auto* label = control<QLabel>(c.name);
        const QRect needed = label->fontMetrics().boundingRect(QRect(QPoint(0, 0), QSize(label->width(), 10000)),
                                                               Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                                                               label->text());
        EXPECT_LE(needed.height(), label->height()) << c.name << " in " << QFontInfo(label->font()).family().toStdString();
        EXPECT_LE(needed.width(), label->width()) << c.name;
    }
    // The button captions stay on one line beside the option's indicator.
    for (const Caption& c : kButtons) {
        auto* button = control<QAbstractButton>(c.name);
        EXPECT_LE(button->sizeHint().width(), button->width()) << c.name;
    }
}

TEST_F(Form1Test, CircuitPictureIsTheGreyscaleJpeg)
{
    QImageReader reader(QStringLiteral(":/circuit.jpg"));
    EXPECT_EQ(reader.format(), QByteArray("jpeg"));
    const QImage circuit = reader.read();
    ASSERT_FALSE(circuit.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(circuit.size(), QSize(492, 425));
    EXPECT_EQ(circuit.format(), QImage::Format_Grayscale8);

    const QPixmap shown = control<QLabel>("Image1")->pixmap();
    EXPECT_EQ(shown.size(), QSize(492, 425));
    EXPECT_EQ(shown.toImage().convertToFormat(QImage::Format_Grayscale8), circuit);
    EXPECT_EQ(control("Image1")->focusPolicy(), Qt::NoFocus);
}
