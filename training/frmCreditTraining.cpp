#include "training/frmCreditTraining.h"

#include "forms/ButtonLook.h"
#include "forms/Messages.h"
#include "forms/Permits.h"
#include "forms/StoreProblem.h"
#include "forms/WindowBusy.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "store/ControlCharacters.h"
#include "store/Formats.h"
#include "training/CommentsBox.h"
#include "training/Credit.h"
#include "ui/AppTitle.h"
#include "ui/CrLf.h"
#include "ui/PlainText.h"
#include "ui/Styling.h"
#include "ui/ZovButton.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace {

using ui::CrLf;
constexpr int kCommentsLimit = 184;

} // namespace

frmCreditTraining::frmCreditTraining(QWidget* parent, Session session,
                                     training::HighlightedCourse course,
                                     QList<training::ListedPerson> persons)
    : Form(parent), lblCourseInfo(ui::NewPlainLabel(QString(), this)),
      listNames(new QListWidget(this)), listSelected(new QListWidget(this)),
      txtDate(new QLineEdit(this)), lblSpaceFull(ui::NewPlainLabel(QString(), this)),
      txtComments(new CommentsBox(kCommentsLimit, lblSpaceFull, this)),
      cmdSave(new ZovButton(this)), cmdCancel(new ZovButton(this)), session_(std::move(session)),
      course_(std::move(course)), persons_(std::move(persons)) {
    const QFont boxFont = platform::DesignFont(QStringLiteral("Tahoma"), 9);
    AddLabel(QStringLiteral("Training course to credit"), 240, 120, 4320, 255);
    // Six lines and room for a course name of 50 characters to wrap onto a second one.
    platform::PlaceTwips(lblCourseInfo, 240, 390, 4320, 1500);
    lblCourseInfo->setFont(platform::DesignFont(QStringLiteral("Tahoma"), 8.25, true));
    lblCourseInfo->setWordWrap(true);
    lblCourseInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblCourseInfo->setFrameShape(QFrame::Panel);
    lblCourseInfo->setFrameShadow(QFrame::Sunken);
    lblCourseInfo->setAutoFillBackground(true);
    lblCourseInfo->setAccessibleName(QStringLiteral("Training course to credit"));

    QLabel* pick = AddLabel(QStringLiteral("Select/unselect person(s) from this list by "
                                           "<Ctrl>Mouse-clicking on the name(s)"),
                            240, 1980, 4320, 480);
    pick->setWordWrap(true);
    platform::PlaceTwips(listNames, 240, 2490, 4320, 4350);
    listNames->setFont(boxFont);
    listNames->setSelectionMode(QAbstractItemView::ExtendedSelection);
    listNames->setAccessibleName(QStringLiteral("Persons to select"));

    AddLabel(QStringLiteral("Person(s) who received this training"), 4800, 120, 4380, 255);
    platform::PlaceTwips(listSelected, 4800, 390, 4380, 2490);
    listSelected->setFont(boxFont);
    listSelected->setSelectionMode(QAbstractItemView::NoSelection);
    listSelected->setAccessibleName(QStringLiteral("Person(s) who received this training"));

    AddLabel(QStringLiteral("Date that the training was received"), 4800, 3060, 4380, 255);
    platform::PlaceTwips(txtDate, 4800, 3330, 1560, 345);
    txtDate->setFont(boxFont);
    txtDate->setMaxLength(10);
    txtDate->setAccessibleName(QStringLiteral("Date that the training was received"));

    AddLabel(QStringLiteral("Any comments about this particular training"), 4800, 3870, 4380, 255);
    platform::PlaceTwips(txtComments, 4800, 4140, 4380, 1500);
    txtComments->setFont(boxFont);
    txtComments->setAccessibleName(QStringLiteral("Any comments about this particular training"));
    lblSpaceFull->move(platform::Twips(8130), platform::Twips(5680));
    forms::MakeTransparent(lblSpaceFull);

    forms::StyleButton(cmdSave, forms::ButtonRole::Proceed);
    forms::StyleButton(cmdCancel, forms::ButtonRole::Leave);
    platform::PlaceTwips(cmdSave, 4800, 6120, 2100, 720);
    platform::PlaceTwips(cmdCancel, 7080, 6120, 2100, 720);
    cmdSave->hide();
    cmdCancel->SetCancel(true);

    for (QWidget* box : {static_cast<QWidget*>(txtDate), static_cast<QWidget*>(txtComments)})
        box->installEventFilter(this);
    connect(listNames, &QListWidget::itemSelectionChanged, this,
            &frmCreditTraining::listNames_Click);
    connect(txtDate, &QLineEdit::textChanged, this, &frmCreditTraining::UpdateCreditButton);
    connect(cmdSave, &ZovButton::Click, this, &frmCreditTraining::cmdSave_Click);
    connect(cmdCancel, &ZovButton::Click, this, &frmCreditTraining::cmdCancel_Click);
    Form_Load();
}

frmCreditTraining::~frmCreditTraining() = default;

QLabel* frmCreditTraining::AddLabel(const QString& text, int left, int top, int width, int height) {
    auto* label = ui::NewPlainLabel(text, this);
    label->setFont(platform::DesignFont(QStringLiteral("Tahoma"), 8.25, true));
    forms::MakeTransparent(label);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 64));
    label->setPalette(palette);
    platform::PlaceTwips(label, left, top, width, height);
    return label;
}

void frmCreditTraining::Form_Load() {
    SetSizeTwips(9450, 7575);
    SetCaption(AppTitle() + QStringLiteral(" - Credit Training to Person(s)"));
    TileBackground();
}

void frmCreditTraining::Form_Activate() {
    const QString indent = QStringLiteral("\n  ");
    lblCourseInfo->setText(indent + course_.code + indent + course_.name + indent +
                           course_.providedBy + indent + course_.hours + QStringLiteral(" hours"));
    for (const training::ListedPerson& person : persons_) {
        auto* item = new QListWidgetItem(person.name, listNames);
        item->setData(Qt::UserRole, person.recNum);
    }
    cmdSave->SetCaption(QStringLiteral("&Credit") + CrLf + QStringLiteral("this Training"));
    cmdCancel->SetCaption(QStringLiteral("&Cancel") + CrLf + QStringLiteral("this Entry"));
    cmdSave->Refresh();
    cmdCancel->Refresh();
    txtDate->setFocus(Qt::OtherFocusReason);
}

void frmCreditTraining::listNames_Click() {
    listSelected->clear();
    for (int i = 0; i < listNames->count(); ++i) {
        const QListWidgetItem* name = listNames->item(i);
        if (!name->isSelected())
            continue;
        auto* chosen = new QListWidgetItem(name->text(), listSelected);
        chosen->setData(Qt::UserRole, name->data(Qt::UserRole));
    }
    UpdateCreditButton();
}

void frmCreditTraining::UpdateCreditButton() {
    const bool ok = !txtDate->text().trimmed().isEmpty() && listSelected->count() > 0;
    // Hidden until it can first be used; from then on it shows, greyed while it cannot.
    if (cmdSave->isHidden())
        cmdSave->setVisible(ok);
    else
        cmdSave->setEnabled(ok);
}

void frmCreditTraining::cmdSave_Click() {
    if (!forms::MayWrite(session_, forms::Action::Credit))
        return;
    const std::optional<double> date = formats::ParseDate(txtDate->text());
    if (!date) {
        forms::Tell(QStringLiteral("Check the date entry"),
                    {QStringLiteral("I don't understand"), QStringLiteral("the date entry.")},
                    forms::Icon::Stop);
        txtDate->selectAll();
        txtDate->setFocus(Qt::OtherFocusReason);
        return;
    }
    const QStringList refusal = store::ControlCharacterRefusal(
        QStringLiteral("Comments"), txtComments->StoredText(), store::LineBreaks::Allowed);
    if (!refusal.isEmpty()) {
        forms::Tell(QStringLiteral("Entry Error"), refusal, forms::Icon::Stop);
        txtComments->setFocus(Qt::OtherFocusReason);
        return;
    }
    QList<qint32> recNums;
    for (int i = 0; i < listSelected->count(); ++i)
        recNums << listSelected->item(i)->data(Qt::UserRole).toInt();

    store::StoreResult credited;
    {
        const WindowBusy busy(*this);
        credited =
            training::CreditCourse(course_.recNum, recNums, *date, txtComments->StoredText());
    }
    if (!credited) {
        // Nothing was written: the choices stay for another try.
        forms::ShowStoreProblem(credited);
        return;
    }
    saved_ = true;
    cmdCancel_Click();
}

void frmCreditTraining::cmdCancel_Click() {
    close();
}

bool frmCreditTraining::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtDate || watched == txtComments) {
        if (event->type() == QEvent::FocusIn)
            ui::SetBase(static_cast<QWidget*>(watched), QColor(255, 255, 128));
        else if (event->type() == QEvent::FocusOut)
            ui::SetBase(static_cast<QWidget*>(watched), QColor(0, 255, 255));
    }
    return Form::eventFilter(watched, event);
}
