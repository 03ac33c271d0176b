// window_shots OUTPUT_FOLDER: a picture of every window of the program, each in a fixed
// state over fixed sample data at a fixed time, saved as <name>.png. Two builds are compared
// with scripts/compare-shots; one build gives the same files byte for byte on every run.
//
// Each window is opened by one small function below, as the program opens it (constructed
// with what it needs, shown, driven through its buttons), so a change of a window's
// constructor is met in one place.

#include "courses/frmAddEditCourse.h"
#include "forms/frmImport.h"
#include "help/HelpTopics.h"
#include "help/frmManual.h"
#include "lobby/frmAddEditName.h"
#include "lobby/frmLobby.h"
#include "platform/Fonts.h"
#include "shots/Camera.h"
#include "signin/AccessCode.h"
#include "signin/frmAddEditUser.h"
#include "signin/frmAdmin.h"
#include "signin/frmChangeLog.h"
#include "signin/frmNewUser.h"
#include "signin/frmTitlePage.h"
#include "store/ChangeLog.h"
#include "store/Clock.h"
#include "store/Csv.h"
#include "store/RecordStore.h"
#include "store/TrainingRules.h"
#include "store/UserLog.h"
#include "support/TestFolder.h"
#include "tools/SampleData.h"
#include "training/frmCreditTraining.h"
#include "training/frmTrainingHistory.h"
#include "ui/CrLf.h"
#include "ui/ZovButton.h"
#include "ui/frmMsgBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <cstdio>
#include <tuple>

namespace {

using Kind = platform::Question::Kind;

const QString AccessCode = QStringLiteral("Sergeant42");

// What the windows are opened over: the sample data set and who signed in.
struct Sample {
    QString userName; // "First Last" of the sample's one user
    QString password;
    qint32 courseRecNum = 0; // the first course with hours (the first rows are headings)
    store::CourseRecord course;
    QList<training::ListedPerson> persons; // every person of Name.List, in file order
    double firstPersonKey = 0;             // the first person's DateCreated

    Session SignedIn(AccessLevel level) const {
        Session session;
        session.userName = userName;
        session.level = level;
        session.organizationName = QStringLiteral("Harbour Police Department");
        return session;
    }
};

// A week of the change log: the first person added, trained and moved, a course's hours
// corrected and the sample user's password changed.
bool WriteSampleChanges(const Sample& sample) {
    namespace cl = store::changelog;
    const QString person = cl::IdentityText(sample.firstPersonKey);
    const QString course = cl::IdentityText(sample.course.DateCreated);
    const QString personName = sample.persons.constFirst().name;
    const QString courseName = sample.course.CourseCode.trimmed() + QStringLiteral(" - ") +
                               sample.course.CourseName.trimmed();
    auto at = [&](int day, const QString& action, const QString& kind) {
        cl::Change change;
        change.time = QDateTime(QDate(2024, 3, day), QTime(9, 15 + day));
        change.user = sample.userName;
        change.action = action;
        change.kind = kind;
        return change;
    };
    QList<cl::Change> changes;
    cl::Change added = at(4, cl::action::Added, cl::kind::Person);
    added.identity = added.person = person;
    added.name = personName;
    added.fields = {{QStringLiteral("Organization"), {}, QStringLiteral("Patrol")}};
    changes << added;
    cl::Change credited = at(5, cl::action::Credited, cl::kind::Training);
    credited.name = personName + QStringLiteral(": ") + courseName;
    credited.person = person;
    credited.course = course;
    credited.fields = {{QStringLiteral("Training Date"), {}, QStringLiteral("03/05/2024")},
                       {QStringLiteral("Hours"), {}, QStringLiteral("8.0")}};
    changes << credited;
    cl::Change corrected = at(7, cl::action::Edited, cl::kind::Course);
    corrected.identity = corrected.course = course;
    corrected.name = courseName;
    corrected.fields = {{QStringLiteral("Hours"), QStringLiteral("4.0"), QStringLiteral("8.0")}};
    changes << corrected;
    cl::Change moved = at(8, cl::action::Edited, cl::kind::Person);
    moved.identity = moved.person = person;
    moved.name = personName;
    moved.fields = {
        {QStringLiteral("Organization"), QStringLiteral("Patrol"), QStringLiteral("Detectives")}};
    changes << moved;
    cl::Change password = at(11, cl::action::Edited, cl::kind::User);
    password.name = sample.userName;
    password.fields = {{cl::PasswordChanged, {}, {}}};
    changes << password;
    return cl::Append(changes).ok();
}

bool WriteSampleData(const QString& folder, Sample& sample) {
    datatool::SampleOptions options;
    options.persons = 14;
    options.courses = 16;
    options.records = 400;
    datatool::SampleSummary summary;
    // The sample's training runs up to the clock's today: written as of 31 December 2024, the
    // files are the ones these pictures have always shown (the 2023 search and summary among
    // them); the windows then go on at the test folder's fixed time.
    store::SetClock([] { return QDateTime(QDate(2024, 12, 31), QTime(12, 0)); });
    const store::StoreResult written = datatool::WriteSample(folder, options, summary);
    store::SetClock([] { return TestFolder::FixedNow(); });
    if (!written) {
        std::fprintf(stderr, "sample data: %s\n", qPrintable(written.text()));
        return false;
    }
    sample.userName = summary.userFirstName + u' ' + summary.userLastName;
    sample.password = summary.userPassword;

    auto& courses = store::Courses();
    if (!courses.Open())
        return false;
    for (qint32 n = 1; n <= courses.Count() && sample.courseRecNum == 0; ++n) {
        if (courses.Read(n) && courses.Buffer().Hours > 0) {
            sample.courseRecNum = n;
            sample.course = courses.Buffer();
        }
    }
    courses.Close();
    auto& persons = store::Persons();
    if (!persons.Open())
        return false;
    for (qint32 n = 1; n <= persons.Count(); ++n) {
        if (persons.Read(n))
            sample.persons.append(
                {persons.Buffer().FirstName + u' ' + persons.Buffer().LastName, n});
        if (n == 1)
            sample.firstPersonKey = persons.Buffer().DateCreated;
    }
    persons.Close();
    if (!WriteSampleChanges(sample))
        return false;

    // The log the Admin window shows: one working day of the sample user.
    const QString level = AccessLevelName(AccessLevel::ReadEditAddDelete);
    for (store::UserLogEvent event : {store::UserLogEvent::SignIn, store::UserLogEvent::SignOut}) {
        if (!store::AppendUserLog(event, sample.userName, level))
            return false;
    }
    return sample.courseRecNum > 0 && !sample.persons.isEmpty() &&
           signin::SaveAccessCodeRecord(signin::MakeAccessCodeRecord(AccessCode)).ok();
}

// ---- The sign-in windows -------------------------------------------------------------------

void ShootTitle(Camera& camera, const Sample&) {
    frmTitlePage title;
    title.show();
    title.timerFlashButton.stop();
    camera.Snap(title, QStringLiteral("title"));
    title.close();
}

void ShootNewUserOverview(Camera& camera, const Sample&) {
    frmNewUser overview;
    overview.show();
    camera.Snap(overview, QStringLiteral("new-user-overview"));
    overview.close();
}

// Choosing the user, typing the password, admin mode and the user log, in one window as a
// user goes through them.
void ShootAdmin(Camera& camera, const Sample& sample) {
    frmAdmin admin;
    admin.show();
    camera.Snap(admin, QStringLiteral("admin-1-choose-user"));

    camera.Press(admin.cmdUserSelected);
    QTest::keyClicks(admin.txtPassword, sample.password);
    camera.Snap(admin, QStringLiteral("admin-2-password"));
    camera.Press(admin.cmdCancel);

    camera.Expect(Kind::Input, QStringLiteral("Access Code Required"), {1, false, AccessCode});
    camera.Press(admin.cmdAdmin);
    admin.timerFlashButton.stop();
    camera.Snap(admin, QStringLiteral("admin-3-admin-mode"));

    camera.Press(admin.cmdReviewUserLog);
    admin.timerFlashButton.stop();
    camera.Snap(admin, QStringLiteral("admin-4-user-log"));
    admin.close();
}

// The whole change log, then one person's part of it as their training history opens it.
void ShootChangeLog(Camera& camera, const Sample& sample) {
    frmChangeLog whole;
    whole.show();
    camera.Snap(whole, QStringLiteral("change-log"));
    whole.close();
    frmChangeLog person(nullptr, store::changelog::IdentityText(sample.firstPersonKey),
                        sample.persons.constFirst().name);
    person.show();
    camera.Snap(person, QStringLiteral("change-log-person"));
    person.close();
}

void ShootUserEditor(Camera& camera, const Sample& sample, bool adding) {
    Session session = sample.SignedIn(AccessLevel::ReadEditAddDelete);
    session.adminMode = true;
    frmAddEditUser editor(nullptr, session,
                          adding ? frmAddEditUser::ForAdding() : frmAddEditUser::ForEditing(1));
    editor.show();
    camera.Snap(editor,
                adding ? QStringLiteral("user-editor-add") : QStringLiteral("user-editor-edit"));
    editor.close();
}

// ---- The Lobby -----------------------------------------------------------------------------

// Rules for the sample's first four courses with hours: renewed yearly or every two years,
// required of everyone, and both.
bool WriteSampleRules() {
    const store::CourseRule kinds[] = {{12, false}, {24, false}, {0, true}, {12, true}};
    store::TrainingRules rules;
    auto& courses = store::Courses();
    if (!courses.Open())
        return false;
    for (qint32 n = 1; n <= courses.Count() && rules.courses.size() < std::size(kinds); ++n) {
        if (courses.Read(n) && courses.Buffer().Hours > 0)
            rules.SetRule(courses.Buffer().DateCreated, kinds[rules.courses.size()]);
    }
    courses.Close();
    return store::WriteTrainingRules(rules).ok();
}

// Its two lists, the search options, a search's results, an annual summary and who is due.
void ShootLobby(Camera& camera, const Sample& sample) {
    frmLobby lobby(sample.SignedIn(AccessLevel::ReadEditAddDelete));
    lobby.show();
    camera.Snap(lobby, QStringLiteral("lobby-1-name-list"));
    lobby.tabMain->setCurrentIndex(frmLobby::CourseIndexPage);
    camera.Snap(lobby, QStringLiteral("lobby-2-course-index"));
    lobby.tabMain->setCurrentIndex(frmLobby::SearchOptionsPage);
    camera.Snap(lobby, QStringLiteral("lobby-3-search-options"));

    search::SearchControls& search = lobby.searchControls;
    search.txtMatch[0]->setText(QStringLiteral("01/01/2023"));
    search.txtMatch[1]->setText(QStringLiteral("12/31/2023"));
    camera.Press(search.cmdMatch);
    camera.Snap(lobby, QStringLiteral("lobby-4-search-results"));
    camera.Press(search.cmdFinishedSummary);

    search.optSearch[2]->click();
    search.txtSummaryYear->setText(QStringLiteral("2023"));
    camera.Snap(lobby, QStringLiteral("lobby-5-annual-summary-options"));
    camera.Press(search.cmdAnnualSummary);
    camera.Snap(lobby, QStringLiteral("lobby-5-annual-summary"));
    camera.Press(search.cmdFinishedSummary);

    if (WriteSampleRules()) {
        lobby.tabMain->setCurrentIndex(frmLobby::DuePage);
        lobby.dueControls.txtDue[0]->setText(QStringLiteral("12/31/2024"));
        camera.Snap(lobby, QStringLiteral("lobby-6-who-is-due"));
    }
    lobby.close();
}

// ---- The editors opened from the Lobby -----------------------------------------------------

enum class ShotMode { Add, Edit, ViewOnly };

struct EditorShot {
    ShotMode mode;
    const char* name;
};

// Adding and editing at full access, view only at Read Only.
const EditorShot EditorShots[] = {
    {ShotMode::Add, "add"}, {ShotMode::Edit, "edit"}, {ShotMode::ViewOnly, "view-only"}};

template <class Editor>
void ShootEditor(Camera& camera, const Sample& sample, qint32 recNum, const QString& prefix) {
    for (const EditorShot& shot : EditorShots) {
        const bool adding = shot.mode == ShotMode::Add;
        const Session session =
            sample.SignedIn(shot.mode == ShotMode::ViewOnly ? AccessLevel::ReadOnly
                                                            : AccessLevel::ReadEditAddDelete);
        Editor editor(nullptr, session, adding ? Editor::ForAdding() : Editor::ForEditing(recNum));
        editor.show();
        camera.Snap(editor, prefix + QLatin1String(shot.name));
        editor.close();
    }
}

void ShootPersonEditor(Camera& camera, const Sample& sample) {
    ShootEditor<frmAddEditName>(camera, sample, 1, QStringLiteral("person-editor-"));
}

void ShootCourseEditor(Camera& camera, const Sample& sample) {
    ShootEditor<frmAddEditCourse>(camera, sample, sample.courseRecNum,
                                  QStringLiteral("course-editor-"));
}

void ShootCredit(Camera& camera, const Sample& sample) {
    const store::CourseRecord& c = sample.course;
    const training::HighlightedCourse course{sample.courseRecNum, c.CourseCode, c.CourseName,
                                             c.ProvidedBy, QString::number(c.Hours, 'f', 1)};
    frmCreditTraining credit(nullptr, sample.SignedIn(AccessLevel::ReadEditAdd), course,
                             sample.persons);
    credit.show();
    camera.Snap(credit, QStringLiteral("credit-training"));
    credit.close();
}

void ShootHistory(Camera& camera, const Sample& sample, bool readOnly) {
    training::HistorySubject subject;
    subject.person = sample.persons.constFirst();
    subject.readOnly = readOnly;
    subject.session = sample.SignedIn(AccessLevel::ReadEditAddDelete);
    frmTrainingHistory history(nullptr, subject);
    history.show();
    camera.Snap(history, readOnly ? QStringLiteral("training-history-read-only")
                                  : QStringLiteral("training-history"));
    history.close();
}

// Both steps of a training import whose rows meet a person and course of the sample, an
// unknown person, an unknown course and a date that is none; a roster's preview.
void ShootImport(Camera& camera, const Sample& sample) {
    const QString code = sample.course.CourseCode.trimmed();
    const QStringList person = sample.persons.constFirst().name.split(u' ');
    const QString first = person.constFirst();
    const QString last = person.constLast();
    const QByteArray training =
        QStringLiteral("Last Name,First Name,Course,Training Date,Hrs,Remarks\r\n"
                       "%1,%2,%3,02/14/2024,,Range day\r\n"
                       "Nobody,Known,%3,02/14/2024,,\r\n"
                       "%1,%2,XYZ-999,02/14/2024,,\r\n"
                       "%1,%2,%3,Feb 30,,\r\n")
            .arg(last, first, code)
            .toUtf8();
    const QByteArray roster =
        QByteArrayLiteral("Surname,Given Name,Agency,Badge\r\n"
                          "Okafor,Grace,Patrol Division,B-1041\r\n"
                          ",Sam,Patrol Division,B-1042\r\n"
                          "Lindqvist,Maria Theresa Alexandra,Records Section,B-1043\r\n");
    for (const auto& [kind, bytes, name] :
         {std::tuple{frmImport::Kind::Training, training, QStringLiteral("import-training-")},
          std::tuple{frmImport::Kind::Persons, roster, QStringLiteral("import-persons-")}}) {
        store::csv::Table table;
        if (!store::csv::Parse(bytes, QStringLiteral("Spring class.csv"), table))
            return;
        frmImport window(nullptr, sample.SignedIn(AccessLevel::ReadEditAdd), kind,
                         QStringLiteral("/home/records/Spring class.csv"), std::move(table));
        window.show();
        camera.Snap(window, name + QStringLiteral("1-columns"));
        camera.Press(window.cmdNext);
        camera.Snap(window, name + QStringLiteral("2-preview"));
        window.close();
    }
}

// ---- Help and the message box --------------------------------------------------------------

void ShootHelp(Camera& camera, const Sample&) {
    frmManual manual(help::MenuItemOf(help::HelpTopic::Overview));
    manual.show();
    camera.Snap(manual, QStringLiteral("help"));
    manual.close();
}

void ShootMessageBox(Camera& camera, const Sample&) {
    frmMsgBox box(QStringLiteral("Entry Error"), 5,
                  QStringLiteral("Check the first date entry") + ui::CrLf, 1, false,
                  {QStringLiteral("&Okay")});
    box.show();
    camera.Snap(box, QStringLiteral("message-box"));
    box.close();
}

struct Shot {
    void (*take)(Camera&, const Sample&);
};

const Shot Shots[] = {
    {ShootTitle},
    {ShootNewUserOverview},
    {ShootAdmin},
    {ShootChangeLog},
    {[](Camera& c, const Sample& s) { ShootUserEditor(c, s, true); }},
    {[](Camera& c, const Sample& s) { ShootUserEditor(c, s, false); }},
    {ShootLobby},
    {ShootPersonEditor},
    {ShootCourseEditor},
    {ShootCredit},
    {ShootImport},
    {[](Camera& c, const Sample& s) { ShootHistory(c, s, false); }},
    {[](Camera& c, const Sample& s) { ShootHistory(c, s, true); }},
    {ShootHelp},
    {ShootMessageBox},
};

} // namespace

int main(int argc, char** argv) {
    // The same screen, fonts and pointer everywhere: no display is used.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirtavel"));
    platform::InstallFontSubstitutes();
    // A blinking caret would be caught on or off by chance.
    QApplication::setCursorFlashTime(0);

    const QStringList args = QApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: window_shots OUTPUT_FOLDER\n");
        return 2;
    }
    const QString output = QDir(args[1]).absolutePath();
    if (!QDir().mkpath(output)) {
        std::fprintf(stderr, "window_shots: cannot make %s\n", qPrintable(output));
        return 1;
    }

    TestFolder folder; // made current, the clock fixed at 15 March 2024 10:30
    Sample sample;
    if (!folder.isValid() || !WriteSampleData(folder.path(), sample)) {
        std::fprintf(stderr, "window_shots: cannot write the sample data\n");
        return 1;
    }
    Camera camera(output);
    for (const Shot& shot : Shots)
        shot.take(camera, sample);

    for (const QString& fault : camera.Faults())
        std::fprintf(stderr, "window_shots: %s\n", qPrintable(fault));
    std::printf("%d pictures in %s\n", camera.Taken(), qPrintable(output));
    return camera.Faults().isEmpty() ? 0 : 1;
}
