#include "tools/DataTool.h"

#include "tools/CheckCommand.h"
#include "tools/DumpCommand.h"
#include "tools/ExportCommand.h"
#include "tools/SampleCommand.h"

namespace datatool {

QString HelpText() {
    return QStringLiteral(
        "Usage: mirtavel-data COMMAND [--dir DIR] ...\n"
        "Support tool for the Mirtavel data files. DIR is the data folder (default: the\n"
        "current directory).\n"
        "\n"
        "  dump [--dir DIR] FILE\n"
        "      Prints FILE (User.List, Name.List, Course.Index or Training.Records) as JSON\n"
        "      Lines, UTF-8: one object per record, \"RecNum\" first, then every field\n"
        "      in layout order, values as stored. Text is trimmed; dates are day counts;\n"
        "      NaN and infinite numbers print as null. A missing file prints nothing.\n"
        "      Records are counted as the program counts them: half a record or more at\n"
        "      the end is a record, its missing bytes zeros.\n"
        "\n"
        "  check [--dir DIR]\n"
        "      Reports, one line each: lengths that are not whole records and the part\n"
        "      of a record the program counts, a folder in place of a data file, lists of\n"
        "      more than 32767 records, a leftover TempFile.$$$ or journal of interrupted\n"
        "      work, a save's journal whose change-log lines the next start completes,\n"
        "      a restore's staging or swap folder, what a repair at start set aside\n"
        "      (a journal not applied, a kept copy, a part of a record), records carrying\n"
        "      the removal marker, repeated DateCreated\n"
        "      identities, training records whose PersonKey matches no person, access\n"
        "      levels outside 1 to 4, Active flags other than 0 and -1, NaN or infinite\n"
        "      dates and hours. A file that cannot be read is told and the others are\n"
        "      still checked.\n"
        "      Prints OK when it finds nothing.\n"
        "\n"
        "  export [--dir DIR] --out FOLDER\n"
        "      Writes User.List, Name.List, Course.Index, Training.Records and User.Log\n"
        "      as CSV into FOLDER (made when missing), one file each named after its data\n"
        "      file with .csv added: UTF-8 with a byte-order mark, CR LF line ends. A record\n"
        "      file's CSV has a heading of RecNum and the field names in layout order, then\n"
        "      one row per record, values as stored: text trimmed, dates and identities as\n"
        "      day counts written so that they read back exactly, hours as their exact\n"
        "      decimal. User.List.csv leaves out the Password field. User.Log.csv has the\n"
        "      columns Line, Date, Time and Entry. Text beginning with =, +, - or @ gets a\n"
        "      single quote before it, so that a spreadsheet does not run it as a formula.\n"
        "      A missing data file gives a file with the heading alone. The five files are\n"
        "      written as a set: all take their names once all are whole, so a failure\n"
        "      leaves the earlier export in FOLDER as it was.\n"
        "\n"
        "  sample [--dir DIR] [--persons N] [--courses N] [--records N] [--seed S] [--force]\n"
        "      Writes a sample data set: N persons (default 500, at most 32767), N courses\n"
        "      including category headings (default 200, at most 32767), N training records\n"
        "      (default 20000) dated over the twenty years up to today, the last of them\n"
        "      today, and one user with every right, whose name and password it prints.\n"
        "      The same seed (default 1) on the same day gives the same files. Existing data\n"
        "      files are replaced only with --force. A missing DIR is made.\n"
        "\n"
        "Exit status: 0 success (check: nothing found); 1 check found something, a file\n"
        "could not be read or written, or sample refused to replace files; 2 usage error\n"
        "(unknown command, option or file, bad number, missing folder, export without\n"
        "--out).\n");
}

int RunDataTool(const QStringList& args, const Console& console) {
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h")) ||
        args.value(0) == QStringLiteral("help")) {
        console.out.write(HelpText().toUtf8());
        return ExitSuccess;
    }
    if (args.isEmpty()) {
        console.err.write(HelpText().toUtf8());
        return ExitUsage;
    }
    const QString command = args.constFirst();
    const QStringList rest = args.mid(1);
    if (command == QStringLiteral("dump")) {
        return RunDump(rest, console);
    }
    if (command == QStringLiteral("check")) {
        return RunCheck(rest, console);
    }
    if (command == QStringLiteral("export")) {
        return RunExport(rest, console);
    }
    if (command == QStringLiteral("sample")) {
        return RunSample(rest, console);
    }
    console.Error(QStringLiteral("unknown command '%1': expected dump, check, export or "
                                 "sample (see --help)")
                      .arg(command));
    return ExitUsage;
}

} // namespace datatool
