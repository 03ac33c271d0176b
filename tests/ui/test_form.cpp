#include "support/ScriptedAnswers.h"
#include "ui/BackgroundTexture.h"
#include "ui/Form.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <cstdlib>

namespace {

// A window that counts what the base calls on it.
class frmProbe : public Form {
public:
    QLineEdit* txtField = new QLineEdit(this);
    int loads = 0;
    int activations = 0;
    int unloads = 0;
    bool refuseClose = false;
    QList<int> keys;
    int swallowKey = 0;

    explicit frmProbe(QWidget* parent = nullptr) : Form(parent) {
        txtField->setGeometry(10, 10, 100, 24);
        Form_Load();
    }

protected:
    void Form_Load() override {
        ++loads;
        SetSizeTwips(4500, 3000);
    }
    void Form_Activate() override { ++activations; }
    void Form_KeyDown(QKeyEvent* event) override {
        keys.append(event->key());
        if (event->key() == swallowKey)
            event->accept();
    }
    void Form_QueryUnload(bool& cancel) override { cancel = refuseClose; }
    void Form_Unload() override { ++unloads; }
};

int Grain(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b));
}

} // namespace

class TestForm : public QObject {
    Q_OBJECT

private slots:
    void geometryInTwips() {
        frmProbe form;
        QCOMPARE(form.loads, 1);
        QCOMPARE(form.size(), QSize(300, 200));
        form.SetSizeTwips(8745, 4965);
        QCOMPARE(form.size(), QSize(583, 331));
        QCOMPARE(form.WidthTwips(), 8745);
        QCOMPARE(form.HeightTwips(), 4965);
        form.MoveTwips(1500, 750);
        QCOMPARE(form.pos(), QPoint(100, 50));
    }

    void captionAndTag() {
        frmProbe form;
        form.SetCaption(QStringLiteral("Mirtavel - Add a Name"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Mirtavel - Add a Name"));
        form.SetTag(QStringLiteral("Update"));
        QCOMPARE(form.property("Tag").toString(), QStringLiteral("Update"));
        form.setProperty("Tag", QString());
        QCOMPARE(form.Tag(), QString());
    }

    void firstActivationRunsOnce() {
        frmProbe form;
        QCOMPARE(form.activations, 0);
        QVERIFY(!form.Activated());
        form.show();
        QCOMPARE(form.activations, 1);
        QVERIFY(form.Activated());
        form.hide();
        form.show();
        form.activateWindow();
        QApplication::processEvents();
        QCOMPARE(form.activations, 1);
    }

    void keyPreviewSeesKeysBeforeTheFocusedControl() {
        frmProbe form;
        form.show();
        form.txtField->setFocus();
        QTest::keyClick(form.txtField, Qt::Key_F1);
        QVERIFY(form.keys.isEmpty()); // preview is off until asked for

        form.SetKeyPreview(true);
        QTest::keyClick(form.txtField, Qt::Key_F1);
        // F1 is ignored by the text box and travels up to the window: still seen only once.
        QCOMPARE(form.keys, QList<int>{Qt::Key_F1});
        QTest::keyClick(form.txtField, Qt::Key_F1);
        QCOMPARE(form.keys.size(), 2);

        QTest::keyClick(form.txtField, Qt::Key_A);
        QCOMPARE(form.txtField->text(), QStringLiteral("a"));
        form.swallowKey = Qt::Key_B;
        QTest::keyClick(form.txtField, Qt::Key_B);
        QCOMPARE(form.txtField->text(), QStringLiteral("a"));
        QCOMPARE(form.keys.constLast(), int(Qt::Key_B));

        // Keys sent to the window itself are previewed too.
        QTest::keyClick(&form, Qt::Key_Escape);
        QCOMPARE(form.keys.constLast(), int(Qt::Key_Escape));
    }

    void keysOfAnotherWindowAreNotPreviewed() {
        frmProbe lobby;
        lobby.SetKeyPreview(true);
        lobby.show();
        frmProbe editor(&lobby);
        editor.show();
        QTest::keyClick(editor.txtField, Qt::Key_F1);
        QVERIFY(lobby.keys.isEmpty());
        QVERIFY(editor.keys.isEmpty());
    }

    void queryUnloadCanRefuseToClose() {
        frmProbe form;
        form.show();
        form.refuseClose = true;
        QVERIFY(!form.close());
        QVERIFY(form.isVisible());
        QCOMPARE(form.unloads, 0);
        form.refuseClose = false;
        QVERIFY(form.close());
        QVERIFY(!form.isVisible());
        QCOMPARE(form.unloads, 1);
    }

    void busyDisablesAndShowsTheHourglass() {
        QVERIFY(!QGuiApplication::overrideCursor());
        {
            frmProbe form;
            form.SetBusy(true);
            form.SetBusy(true);
            QVERIFY(!form.isEnabled());
            QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
            form.SetBusy(false);
            QVERIFY(form.isEnabled());
            QVERIFY(!QGuiApplication::overrideCursor());
            form.SetBusy(true);
        }
        // A window discarded while busy gives the pointer back.
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void backgroundIsTiledAndPicturesStay() {
        frmProbe form;
        form.resize(300, 200);
        form.TileBackground();
        const QImage texture = BackgroundTexture().toImage();
        QImage shot = form.grab().toImage();
        QCOMPARE(shot.pixel(250, 5), texture.pixel(250 - 127, 5));
        QCOMPARE(shot.pixel(3, 140), texture.pixel(3, 140 - 127));

        QPixmap dot(4, 4);
        dot.fill(Qt::red);
        form.DrawPicture(QPoint(200, 150), dot);
        shot = form.grab().toImage();
        QCOMPARE(shot.pixel(201, 151), QColor(Qt::red).rgb());
        QCOMPARE(shot.pixel(204, 154), texture.pixel(204 - 127, 154 - 127));
        form.ClearPictures();
        QCOMPARE(form.grab().toImage().pixel(201, 151), texture.pixel(201 - 127, 151 - 127));
    }

    void textureIsLightYellowGrainWithoutSeams() {
        const QImage texture = BackgroundTexture().toImage();
        QCOMPARE(texture.size(), QSize(127, 127));
        QSet<QRgb> colours;
        long inside = 0;
        long across = 0;
        for (int y = 0; y < 127; ++y) {
            for (int x = 0; x < 127; ++x) {
                const QRgb p = texture.pixel(x, y);
                QVERIFY(qRed(p) >= 240 && qRed(p) == qGreen(p));
                QCOMPARE(qBlue(p), qRed(p) - 63);
                colours.insert(p);
            }
            inside += Grain(texture.pixel(63, y), texture.pixel(64, y));
            across += Grain(texture.pixel(126, y), texture.pixel(0, y));
        }
        QVERIFY(colours.size() > 4);
        // Where one tile meets the next the grain changes no more than within a tile.
        QVERIFY2(across <= 2 * inside + 127,
                 qPrintable(QStringLiteral("%1 %2").arg(across).arg(inside)));
        QCOMPARE(BackgroundTexture().toImage(), texture);
    }

    void showModalRunsOverItsParent() {
        frmProbe lobby;
        lobby.SetSizeTwips(9000, 6000);
        lobby.MoveTwips(1500, 1500);
        lobby.show();
        frmProbe editor;
        editor.SetSizeTwips(3000, 2000);
        ScriptedAnswers answers;
        answers.expectWindow([&](QWidget* window) {
            QCOMPARE(window, &editor);
            QVERIFY(editor.isVisible());
            QVERIFY(editor.isModal());
            QCOMPARE(editor.activations, 1);
            QCOMPARE(editor.parentWidget(), &lobby);
            QVERIFY(editor.isWindow());
            // Centred to within the rounding of odd sizes.
            QVERIFY((editor.geometry().center() - lobby.geometry().center()).manhattanLength() <=
                    3);
            editor.SetTag(QStringLiteral("Update"));
        });
        editor.ShowModal(&lobby);
        QVERIFY(answers.verifyDone());
        QVERIFY(!editor.isVisible());
        QCOMPARE(editor.unloads, 1);
        QCOMPARE(editor.Tag(), QStringLiteral("Update"));
    }
};

QTEST_MAIN(TestForm)
#include "test_form.moc"
