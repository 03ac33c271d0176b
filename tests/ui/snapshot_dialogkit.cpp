// Renders the flat button in every state on the window texture, and message boxes of every
// icon kind, to PNG files for a person to look at: snapshot_dialogkit [folder] (else
// $MIRTAVEL_SNAPSHOT_DIR, else the current folder).
#include "platform/Fonts.h"
#include "platform/StockIcon.h"
#include "ui/CrLf.h"
#include "ui/Form.h"
#include "ui/ZovButton.h"
#include "ui/frmMsgBox.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTest>

namespace {

struct Scheme {
    QString name;
    int type;
    QColor back;
    QColor fore;
    QColor foreOver;
    QString font;
    bool bold;
};

using ui::CrLf;

ZovButton* MakeButton(QWidget* parent, const Scheme& s, const QString& caption, QRect at) {
    auto* b = new ZovButton(parent);
    b->SetButtonType(s.type);
    b->SetBackColor(s.back);
    b->SetBackOver(s.back);
    b->SetForeColor(s.fore);
    b->SetForeOver(s.foreOver);
    b->setFont(platform::DesignFont(s.font, 8.25, s.bold));
    b->SetCaption(caption);
    b->setGeometry(at);
    return b;
}

void Hover(ZovButton* b) {
    b->SetUnderMouseTest([] { return true; });
    const QPointF at(5, 5);
    QMouseEvent move(QEvent::MouseMove, at, b->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(b, &move);
}

void Press(ZovButton* b) {
    const QPointF at(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, at, b->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(b, &press);
}

// One row: normal, hover, pressed, disabled, checked, two lines and focused.
void SnapRow(const Scheme& s, const QDir& out) {
    class Window : public Form {};
    Window w;
    w.resize(7 * 130 + 10, 70);
    w.TileBackground();
    const QString caption = s.type == 11 ? QStringLiteral("&Print") : QStringLiteral("&Okay");
    QList<ZovButton*> row;
    const int height = s.type == 3 ? 27 : 40;
    for (int i = 0; i < 7; ++i) {
        const QString text =
            i == 5 ? QStringLiteral("&Save") + CrLf + QStringLiteral("New Entry") : caption;
        row.append(MakeButton(&w, s, text, QRect(10 + i * 130, 15, 120, i == 5 ? 44 : height)));
    }
    row[3]->setEnabled(false);
    row[4]->SetCheckBoxBehaviour(true);
    row[4]->SetValue(true);
    if (s.type == 11) {
        row[6]->SetPictureNormal(platform::StockIcon(platform::StockIconKind::Question));
        row[6]->SetCaption(QString());
        row[6]->resize(40, 40);
    }
    w.show();
    w.activateWindow();
    (void)QTest::qWaitForWindowActive(&w);
    Hover(row[1]);
    Press(row[2]);
    row[6]->setFocus();
    QApplication::processEvents();
    w.grab().save(out.filePath(QStringLiteral("button_%1.png").arg(s.name)));
}

struct Message {
    QString name;
    int iconKind;
    QString text;
    int defaultButton;
    bool dontAsk;
    QStringList captions;
};

void SnapMessage(const Message& m, const QDir& out) {
    frmMsgBox box(QStringLiteral("Mirtavel - ") + m.name, m.iconKind, m.text, m.defaultButton,
                  m.dontAsk, m.captions);
    box.show();
    box.activateWindow();
    (void)QTest::qWaitForWindowActive(&box);
    QApplication::processEvents();
    box.grab().save(out.filePath(QStringLiteral("msgbox_%1.png").arg(m.name)));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::InstallFontSubstitutes();
    QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1])
                              : qEnvironmentVariable("MIRTAVEL_SNAPSHOT_DIR", QStringLiteral("."));
    QDir out(folder);
    out.mkpath(QStringLiteral("."));
    const QString verdana = QStringLiteral("Verdana");
    const QList<Scheme> schemes = {
        {QStringLiteral("type3_message"), 3, QColor(255, 255, 128), QColor(0, 0, 64), Qt::black,
         verdana, false},
        {QStringLiteral("type14_add"), 14, QColor(192, 255, 192), QColor(0, 64, 0),
         QColor(0, 64, 0), verdana, true},
        {QStringLiteral("type14_edit"), 14, QColor(200, 224, 255), QColor(0, 0, 64),
         QColor(0, 0, 64), verdana, true},
        {QStringLiteral("type14_delete"), 14, QColor(255, 200, 200), QColor(96, 0, 0),
         QColor(96, 0, 0), verdana, true},
        {QStringLiteral("type14_teal"), 14, QColor(0, 128, 128), Qt::black, Qt::black, verdana,
         true},
        {QStringLiteral("type11_print"), 11, QColor(255, 255, 192), QColor(0, 0, 64),
         QColor(0, 0, 64), verdana, true},
    };
    for (const Scheme& s : schemes)
        SnapRow(s, out);

    const QStringList okay = {QStringLiteral("&Okay")};
    const QString twoLines = QStringLiteral("There are currently no 'Users'") + CrLf +
                             QStringLiteral("entered in the 'User List'");
    const QList<Message> messages = {
        {QStringLiteral("kind0"), 0, twoLines, 1, false, okay},
        {QStringLiteral("kind1"),
         1,
         QStringLiteral("Are you sure you want to remove") + CrLf + CrLf +
             QStringLiteral("Jane Doe") + CrLf + CrLf + QStringLiteral("from the 'User List'?"),
         2,
         false,
         {QStringLiteral("&Yes, delete"), QStringLiteral("&No, cancel")}},
        {QStringLiteral("kind2"), 2,
         QStringLiteral("That is not the correct password") + CrLf +
             QStringLiteral("associated with this name"),
         1, false, okay},
        {QStringLiteral("kind3"),
         3,
         QStringLiteral("This will close Mirtavel.") + CrLf + CrLf +
             QStringLiteral("Is this what you want to do?"),
         1,
         false,
         {QStringLiteral("&Yes, quit Mirtavel"), QStringLiteral("&No, do NOT quit")}},
        {QStringLiteral("kind4"), 4,
         QStringLiteral("Sorry, but you have not entered") + CrLf +
             QStringLiteral("the correct Access Code."),
         1, false, okay},
        {QStringLiteral("kind5"), 5,
         QStringLiteral("The name has been removed") + CrLf +
             QStringLiteral("from the 'User List'."),
         1, false, okay},
        {QStringLiteral("kind7_noicon"), 7, QStringLiteral("No icon and no sound."), 1, false,
         okay},
        {QStringLiteral("wrapped"), 5,
         QStringLiteral("This message has one line that is far wider than one fifth of the "
                        "screen, so the box wraps it at two tenths of the screen's width.") +
             CrLf + QStringLiteral("A short line."),
         1, false, okay},
        {QStringLiteral("dontask"), 5, twoLines, 1, true, okay},
        {QStringLiteral("three_buttons"),
         3,
         QStringLiteral("Print the list?"),
         2,
         false,
         {QStringLiteral("&Yes, print"), QStringLiteral("&No, do NOT print"),
          QStringLiteral("&Help")}},
    };
    for (const Message& m : messages)
        SnapMessage(m, out);
    return 0;
}
