#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "windowing/form3_design.h"
#include "windowing/form4_design.h"
#include "windowing/form_slot.h"
#include "windowing/picture_box.h"

namespace kestrane {

class WindowDesignsTest : public QObject {
    Q_OBJECT

private slots:
    void settingsBoxWrittenFirstCreatesTheDialogHiddenFromItsDesign() {
        form<Form4Design>().Text1[2]->setText("120");
        const Form4Design& settings = form<Form4Design>();
        QVERIFY(!settings.isVisible());
        QCOMPARE(settings.Text1[0]->text() + settings.Text1[1]->text() + settings.Text1[3]->text(),
                 QString());
        QVERIFY(settings.Check1->isChecked());
        QVERIFY(!settings.Command2->isEnabled());
    }

    void graphCanvasDrawsOn450By450() {
        QCOMPARE(form<Form3Design>().Picture1->bitmap().size(), QSize(450, 450));
        QCOMPARE(form<Form3Design>().Picture1->contentsRect().size(), QSize(450, 450));
    }
};

}  // namespace kestrane

QTEST_MAIN(kestrane::WindowDesignsTest)
#include "tst_window_designs.moc"
