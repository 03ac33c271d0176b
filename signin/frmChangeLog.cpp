#include "signin/frmChangeLog.h"

#include "forms/ButtonLook.h"
#include "forms/ListGrid.h"
#include "forms/Messages.h"
#include "forms/WindowBusy.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "print/ListExport.h"
#include "print/ListPrintouts.h"
#include "signin/ChangeLogListing.h"
#include "store/Formats.h"
#include "ui/AppTitle.h"
#include "ui/FlexGrid.h"
#include "ui/PlainText.h"
#include "ui/ZovButton.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

using forms::ButtonRole;
using platform::PlaceTwips;
namespace cl = store::changelog;

namespace {

const QString GridFormat =
    QStringLiteral("<Time|<User|<What was done|<Record|<Fields: before -> after");

QLabel* MakeLabel(QWidget* parent, const QString& caption, QWidget* buddy, int left, int top,
                  int width) {
    QLabel* label = ui::NewPlainLabel(caption, parent);
    label->setBuddy(buddy);
    forms::MakeTransparent(label);
    PlaceTwips(label, left, top + 30, width, 255);
    return label;
}

QComboBox* MakeChoice(QWidget* parent, const QString& name, int left, int top, int width) {
    auto* box = new QComboBox(parent);
    box->setAccessibleName(name);
    PlaceTwips(box, left, top, width, 330);
    return box;
}

QLineEdit* MakeDateBox(QWidget* parent, const QString& name, int left, int top) {
    auto* box = new QLineEdit(parent);
    box->setAccessibleName(name);
    box->setMaxLength(20);
    PlaceTwips(box, left, top, 1440, 330);
    return box;
}

ZovButton* MakeButton(QWidget* parent, ButtonRole role, const QString& caption,
                      const QString& tip) {
    auto* button = new ZovButton(parent);
    forms::StyleButton(button, role);
    forms::Apply(button, {caption, tip, true, true});
    return button;
}

void Offer(QComboBox* box, const QString& all, const QList<signin::ChangeChoice>& choices) {
    box->clear();
    box->addItem(all, QString());
    for (const signin::ChangeChoice& choice : choices)
        box->addItem(choice.label, choice.key);
}

} // namespace

frmChangeLog::frmChangeLog(QWidget* parent) : frmChangeLog(parent, QString(), QString()) {}

frmChangeLog::frmChangeLog(QWidget* parent, const QString& personIdentity,
                           const QString& personName)
    : Form(parent), person_(personIdentity), personName_(personName) {
    BuildControls();
    Form_Load();
}

frmChangeLog::~frmChangeLog() = default;

void frmChangeLog::BuildControls() {
    // Made in tab order: the filters, Show, the list, then the buttons under it.
    cboPerson = MakeChoice(this, QStringLiteral("Person"), 1020, 150, 4200);
    cboCourse = MakeChoice(this, QStringLiteral("Course"), 6300, 150, 4395);
    cboUser = MakeChoice(this, QStringLiteral("User"), 1020, 570, 2700);
    txtFrom = MakeDateBox(this, QStringLiteral("From date"), 4560, 570);
    txtTo = MakeDateBox(this, QStringLiteral("To date"), 6660, 570);
    MakeLabel(this, QStringLiteral("&Person:"), cboPerson, 120, 150, 900);
    MakeLabel(this, QStringLiteral("C&ourse:"), cboCourse, 5400, 150, 900);
    MakeLabel(this, QStringLiteral("&User:"), cboUser, 120, 570, 900);
    MakeLabel(this, QStringLiteral("&From:"), txtFrom, 3900, 570, 660);
    MakeLabel(this, QStringLiteral("&To:"), txtTo, 6120, 570, 540);
    cmdShow = MakeButton(this, ButtonRole::Proceed, QStringLiteral("&Show"),
                         QStringLiteral(" List the changes that match these choices "));
    PlaceTwips(cmdShow, 8640, 540, 2055, 420);

    lblWarning = ui::NewPlainLabel(QString(), this);
    lblWarning->setWordWrap(true);
    lblWarning->setFont(platform::DesignFont(QStringLiteral("Tahoma"), 8.25, true));
    lblWarning->setStyleSheet(QStringLiteral("color: rgb(160, 0, 0);"));
    forms::MakeTransparent(lblWarning);
    PlaceTwips(lblWarning, 120, 1020, 10575, 420);

    grid = new FlexGrid(this);
    grid->SetTableName(QStringLiteral("Change Log"));
    PlaceTwips(grid, 120, 1500, 10575, 4560);

    lblCount = ui::NewPlainLabel(QString(), this);
    forms::MakeTransparent(lblCount);
    PlaceTwips(lblCount, 120, 6150, 10575, 285);

    cmdPrint = MakeButton(this, ButtonRole::Record, QStringLiteral("&Print..."),
                          QStringLiteral(" Print the changes listed (right-click for a preview "
                                         "or a PDF) "));
    cmdExport = MakeButton(this, ButtonRole::Record, QStringLiteral("Export to &CSV..."),
                           QStringLiteral(" Save the changes listed for a spreadsheet "));
    cmdClose = MakeButton(this, ButtonRole::Leave, QStringLiteral("C&lose"),
                          QStringLiteral(" Close the Change Log "));
    cmdClose->SetCancel(true);
    PlaceTwips(cmdPrint, 120, 6570, 1500, 510);
    PlaceTwips(cmdExport, 1740, 6570, 1980, 510);
    PlaceTwips(cmdClose, 9195, 6570, 1500, 510);

    connect(cmdShow, &ZovButton::Click, this, &frmChangeLog::cmdShow_Click);
    for (QComboBox* box : {cboPerson, cboCourse, cboUser})
        connect(box, &QComboBox::activated, this, &frmChangeLog::cmdShow_Click);
    for (QLineEdit* box : {txtFrom, txtTo})
        connect(box, &QLineEdit::returnPressed, this, &frmChangeLog::cmdShow_Click);
    print::ConnectPrintButton(
        cmdPrint, [this](print::Output to) { print::PrintChangeLog(Table(), *this, to); },
        [this] { return Table(); });
    connect(cmdExport, &ZovButton::Click, this, [this] { print::ExportCsv(Table(), this); });
    connect(cmdClose, &ZovButton::Click, this, &QWidget::close);
    connect(grid, &FlexGrid::MouseMove, this, &frmChangeLog::grid_MouseMove);
}

void frmChangeLog::Form_Load() {
    SetCaption(AppTitle() + QStringLiteral(" - Change Log") +
               (person_.isEmpty() ? QString() : QStringLiteral(" of ") + personName_));
    SetSizeTwips(10815, 7260);
    TileBackground();
    CheckLog();
    cl::ChangeFilter filter;
    filter.person = person_;
    List(filter);
    OfferChoices();
}

// The chain is checked once, as the window opens: the filters read the same file.
void frmChangeLog::CheckLog() {
    cl::ChainCheck check;
    const store::StoreResult checked = cl::CheckChain(check);
    warning_ = checked ? signin::ChainWarning(check) : QString();
}

void frmChangeLog::OfferChoices() {
    const signin::ChangeChoices& choices = listing_->Choices();
    if (person_.isEmpty()) {
        Offer(cboPerson, QStringLiteral("(every person)"), choices.persons);
    } else {
        cboPerson->clear();
        cboPerson->addItem(personName_, person_);
        cboPerson->setEnabled(false);
    }
    Offer(cboCourse, QStringLiteral("(every course)"), choices.courses);
    Offer(cboUser, QStringLiteral("(every user)"), choices.users);
}

void frmChangeLog::List(const cl::ChangeFilter& filter) {
    const WindowBusy busy(*this);
    auto listing =
        std::make_shared<const signin::ChangeListing>(signin::ChangeListing::Read(filter));
    listing_ = listing;
    const auto rows = static_cast<qint32>(listing->Count());

    grid->SetRedraw(false);
    grid->SetRows(1);
    grid->SetFormatString(GridFormat);
    grid->AddItems(listing, rows);
    for (const auto& [col, twips] : {std::pair{signin::ChangeTime, 1680},
                                     {signin::ChangeUser, 1200},
                                     {signin::ChangeAction, 1500},
                                     {signin::ChangeRecord, 2500},
                                     {signin::ChangeFields, 3420}})
        grid->SetColWidth(col, twips);
    grid->SetRedraw(true);
    if (rows > 0)
        listgrid::SelectRow(*grid, 1, signin::ChangeFields, true);

    const bool narrowed = !filter.course.isEmpty() || !filter.user.isEmpty() ||
                          filter.from.isValid() || filter.to.isValid();
    if (rows > 0)
        lblCount->setText(rows == 1 ? QStringLiteral("1 change listed, newest first.")
                                    : QStringLiteral("%1 changes listed, newest first.").arg(rows));
    else if (narrowed)
        lblCount->setText(QStringLiteral("No change matches these choices."));
    else if (person_.isEmpty())
        lblCount->setText(QStringLiteral("There are no changes recorded."));
    else
        lblCount->setText(QStringLiteral("There are no changes recorded for ") + personName_ +
                          u'.');

    QStringList warnings;
    if (!warning_.isEmpty())
        warnings << warning_;
    if (!listing->Result())
        warnings << QStringLiteral("The log could not be read to its end: ") +
                        listing->Result().text();
    lblWarning->setText(warnings.join(u' '));
    lblWarning->setVisible(!warnings.isEmpty());
    cmdPrint->setEnabled(rows > 0);
    cmdExport->setEnabled(rows > 0);
}

bool frmChangeLog::ReadDates(QDate& from, QDate& to) {
    struct Entry {
        QLineEdit* box;
        QDate& date;
        const char* name;
    };
    for (const Entry& entry : {Entry{txtFrom, from, "From"}, Entry{txtTo, to, "To"}}) {
        const QString text = entry.box->text().trimmed();
        entry.date = QDate();
        if (text.isEmpty())
            continue;
        const std::optional<double> value = formats::ParseDate(text);
        if (!value) {
            forms::Tell(
                QStringLiteral("Entry Error"),
                {QStringLiteral("Check the '%1' date entry").arg(QLatin1String(entry.name))},
                forms::Icon::Information);
            entry.box->setFocus();
            entry.box->selectAll();
            return false;
        }
        entry.date = formats::DatePart(*value);
    }
    if (from.isValid() && to.isValid() && to < from) {
        forms::Tell(QStringLiteral("Entry Error"),
                    {QStringLiteral("The 'from' date cannot be"),
                     QStringLiteral("later than the 'to' date")},
                    forms::Icon::Information);
        txtFrom->setFocus();
        return false;
    }
    return true;
}

void frmChangeLog::cmdShow_Click() {
    cl::ChangeFilter filter;
    if (!ReadDates(filter.from, filter.to))
        return;
    filter.person = cboPerson->currentData().toString();
    filter.course = cboCourse->currentData().toString();
    filter.user = cboUser->currentData().toString();
    List(filter);
}

print::ReportTable frmChangeLog::Table() const {
    return signin::ChangeTable(*listing_);
}

// The record and its fields seldom fit their columns: the pointer shows them whole.
void frmChangeLog::grid_MouseMove() {
    const int row = grid->MouseRow();
    QString tip;
    if (row >= 1) {
        tip = u' ' + grid->TextMatrix(row, signin::ChangeRecord) + u' ';
        if (const QString fields = grid->TextMatrix(row, signin::ChangeFields); !fields.isEmpty())
            tip += QStringLiteral("\n ") + fields + u' ';
    }
    grid->SetToolTipText(tip);
}
