#include "signin/ChangeLogListing.h"

#include "store/Formats.h"

#include <QHash>
#include <algorithm>

namespace signin {

namespace cl = store::changelog;

namespace {

// A text on one line of the list: the log keeps line breaks and tabs, a cell cannot.
QString OneLine(const QString& text) {
    QString line = text;
    for (QChar& c : line) {
        if (c.unicode() < 0x20)
            c = u' ';
    }
    return line;
}

// A field's value as listed: "(empty)" where there was nothing.
QString Shown(const QString& value) {
    return value.isEmpty() ? QStringLiteral("(empty)") : OneLine(value);
}

bool LabelLess(const ChangeChoice& a, const ChangeChoice& b) {
    return a.label.compare(b.label, Qt::CaseInsensitive) < 0;
}

QString FieldsText(const QList<cl::FieldChange>& fields) {
    QStringList parts;
    for (const cl::FieldChange& f : fields) {
        // A password is never written down: its line says only that it changed.
        if (f.before.isEmpty() && f.after.isEmpty())
            parts << f.field;
        else
            parts << f.field + QStringLiteral(": ") + Shown(f.before) + QStringLiteral(" -> ") +
                         Shown(f.after);
    }
    return parts.join(QStringLiteral("; "));
}

// The choices met while reading: the latest name each key was given.
class ChoiceCollector {
public:
    void Note(const QString& key, const QString& name) {
        if (key.isEmpty())
            return;
        QString& label = labels_[key];
        if (!name.isEmpty())
            label = name;
    }
    // A key whose record was never named in the lines read is listed by its creation stamp.
    QList<ChangeChoice> Sorted(const QString& unnamed) const {
        QList<ChangeChoice> choices;
        for (auto it = labels_.cbegin(); it != labels_.cend(); ++it)
            choices.append({it.value().isEmpty() ? unnamed + it.key() : it.value(), it.key()});
        std::stable_sort(choices.begin(), choices.end(), LabelLess);
        return choices;
    }

private:
    QHash<QString, QString> labels_;
};

// The cells a line is listed with.
QStringList ChangeCells(const cl::Change& change) {
    const double when = formats::DateValue(change.time);
    const QString record =
        change.name.isEmpty() ? change.kind : change.kind + QStringLiteral(": ") + change.name;
    return {formats::MmDdYyyy(when) + u' ' + formats::HhNnSs(when), OneLine(change.user),
            OneLine(change.action), OneLine(record), FieldsText(change.fields)};
}

} // namespace

ChangeListing ChangeListing::Read(const cl::ChangeFilter& filter, const QString& fileName) {
    ChangeListing listing;
    ChoiceCollector persons;
    ChoiceCollector courses;
    QHash<QString, QString> users; // by the name in lower case, as the filter compares them
    listing.read_ = cl::ForEachChange(
        filter,
        [&](const cl::ChangeEntry& entry) {
            listing.starts_.push_back(listing.text_.size());
            for (const QString& cell : ChangeCells(entry))
                listing.text_ += cell.toUtf8() + '\t';
            if (entry.person.contains(cl::PersonSeparator)) {
                for (const QString& person : entry.person.split(cl::PersonSeparator))
                    persons.Note(person, QString());
            } else {
                persons.Note(entry.person, entry.kind == cl::kind::Person ? entry.name : QString());
            }
            courses.Note(entry.course, entry.kind == cl::kind::Course ? entry.name : QString());
            if (!entry.user.isEmpty() && !users.contains(entry.user.toLower()))
                users.insert(entry.user.toLower(), entry.user);
            return true;
        },
        fileName);
    listing.choices_.persons = persons.Sorted(QStringLiteral("Person created "));
    listing.choices_.courses = courses.Sorted(QStringLiteral("Course created "));
    for (const QString& user : users)
        listing.choices_.users.append({user, user});
    std::stable_sort(listing.choices_.users.begin(), listing.choices_.users.end(), LabelLess);
    return listing;
}

QString ChangeListing::Cell(qint64 row, int col) const {
    const qint64 index = Count() - row;
    if (row < 1 || index < 0 || col < 0 || col >= ChangeColumns)
        return QString();
    qsizetype from = starts_[std::size_t(index)];
    for (int c = 0; c < col; ++c)
        from = text_.indexOf('\t', from) + 1;
    const qsizetype end = text_.indexOf('\t', from);
    return QString::fromUtf8(QByteArrayView(text_).sliced(from, end - from));
}

print::ReportTable ChangeTable(const ChangeListing& listing) {
    print::ReportTable table = print::ListTable(
        print::ChangeLogReport,
        {QStringLiteral("Time"), QStringLiteral("User"), QStringLiteral("What was done"),
         QStringLiteral("Record"), QStringLiteral("Fields: before -> after")});
    table.rows.reserve(std::size_t(listing.Count()));
    for (qint64 row = 1; row <= listing.Count(); ++row) {
        print::ReportRow shown;
        for (int col = 0; col < ChangeColumns; ++col)
            shown.cells << listing.Cell(row, col);
        table.rows.push_back(std::move(shown));
    }
    return table;
}

QString ChainWarning(const cl::ChainCheck& check) {
    if (check.fault == cl::ChainCheck::Fault::None)
        return QString();
    return QStringLiteral("Warning: this log was changed outside the program. ") +
           check.Describe() + QStringLiteral(" The lines are listed as they are on file.");
}

} // namespace signin
